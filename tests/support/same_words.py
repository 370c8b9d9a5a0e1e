"""One line of arguments and the words a program gets from it, which the menu must give the same on
both systems: Windows hands the line to the program as written and the program splits it by
Windows' rules (CommandLineToArgvW); the Linux menu splits it by those rules itself. The Windows and
the Linux window tests both start a program with ARGUMENTS and expect WORDS."""

# Everything a shell or a careless split would change: quotes around blanks, two backslashes before
# a quote (one backslash, and the quote opens), one backslash before a quote (a quote in the word),
# a backslash away from quotes, an empty word, letters beyond ASCII, a variable and a wildcard.
ARGUMENTS = r'/S "C:\Program Files\x" a\\"b Zoë" "" end\"q $HOME *'
WORDS = ["/S", r"C:\Program Files\x", r"a\b Zoë", "", 'end"q', "$HOME", "*"]
