@echo off
rem A demo program for the menu on Windows: says hello and shows the folder the menu
rem started it in, which is the medium's root.
echo Hello from the demo medium.
echo.
echo Started by the menu in: %CD%
pause
