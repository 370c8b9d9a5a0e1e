/* Starts a program whose system answers IsWow64Process2 as a machine of the test's choosing, for
   the machines Wine cannot be (ARM64). Usage: machine_stand_in HEX PROGRAM [ARGUMENT...], HEX the
   machine's IMAGE_FILE_MACHINE_ number (aa64 for ARM64, 8664 for x64). The program itself is
   unchanged: this starts it as its debugger, and when its loader has loaded the system's DLLs
   (the first breakpoint), points kernelbase's IsWow64Process2 at code that gives that answer,
   then detaches and ends with the program's exit code. 1 when it could not, saying why. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <wchar.h>
#include <windows.h>

#ifndef IMAGE_FILE_MACHINE_I386
#define IMAGE_FILE_MACHINE_I386 0x014c
#endif

/* The answer as machine code: process machine (none for a native process, i386 for one under
   WOW64), the given native machine, TRUE. Pointers that are null are left alone. */
static size_t AnswerCode(unsigned char* code, USHORT native) {
#if defined(__x86_64__)
  /* rdx = process machine, r8 = native machine. */
  /* clang-format off */
  static const unsigned char body[] = {
      0x48, 0x85, 0xD2,                    /* test rdx, rdx */
      0x74, 0x05,                          /* jz +5 */
      0x66, 0xC7, 0x02, 0x00, 0x00,        /* mov word [rdx], 0 */
      0x4D, 0x85, 0xC0,                    /* test r8, r8 */
      0x74, 0x06,                          /* jz +6 */
      0x66, 0x41, 0xC7, 0x00, 0x00, 0x00,  /* mov word [r8], native */
      0xB8, 0x01, 0x00, 0x00, 0x00,        /* mov eax, 1 */
      0xC3};                               /* ret */
  /* clang-format on */
  memcpy(code, body, sizeof body);
  memcpy(code + 19, &native, 2);
  return sizeof body;
#else
  /* stdcall: the pointers at [esp+8] and [esp+12]; three arguments popped. */
  /* clang-format off */
  static const unsigned char body[] = {
      0x8B, 0x44, 0x24, 0x08,              /* mov eax, [esp+8] */
      0x85, 0xC0,                          /* test eax, eax */
      0x74, 0x05,                          /* jz +5 */
      0x66, 0xC7, 0x00, 0x4C, 0x01,        /* mov word [eax], i386 */
      0x8B, 0x44, 0x24, 0x0C,              /* mov eax, [esp+12] */
      0x85, 0xC0,                          /* test eax, eax */
      0x74, 0x05,                          /* jz +5 */
      0x66, 0xC7, 0x00, 0x00, 0x00,        /* mov word [eax], native */
      0xB8, 0x01, 0x00, 0x00, 0x00,        /* mov eax, 1 */
      0xC2, 0x0C, 0x00};                   /* ret 12 */
  /* clang-format on */
  memcpy(code, body, sizeof body);
  memcpy(code + 24, &native, 2);
  return sizeof body;
#endif
}

/* A jump from the system's function to the answer. */
static size_t JumpCode(unsigned char* code, void* to) {
#if defined(__x86_64__)
  code[0] = 0x48; /* mov rax, to */
  code[1] = 0xB8;
  memcpy(code + 2, &to, 8);
  code[10] = 0xFF; /* jmp rax */
  code[11] = 0xE0;
  return 12;
#else
  code[0] = 0xB8; /* mov eax, to */
  memcpy(code + 1, &to, 4);
  code[5] = 0xFF; /* jmp eax */
  code[6] = 0xE0;
  return 7;
#endif
}

static int Fail(const char* what) {
  fprintf(stderr, "machine_stand_in: %s (error %lu)\n", what, GetLastError());
  return 1;
}

/* kernelbase lies at the same address in every process of the session: the function's address
   here is the one in the program, which the comparison of their first bytes confirms. */
static int Answer(HANDLE process, USHORT native) {
  unsigned char here[16], there[16], answer[64], jump[16];
  SIZE_T done = 0;
  DWORD old = 0;
  HMODULE kernelbase = GetModuleHandleW(L"kernelbase.dll");
  FARPROC found = kernelbase ? GetProcAddress(kernelbase, "IsWow64Process2") : NULL;
  unsigned char* function = NULL;
  memcpy(&function, &found, sizeof function); /* its code, as bytes: ISO C casts no further */
  if (function == NULL) return Fail("this system has no IsWow64Process2");
  memcpy(here, function, sizeof here);
  if (!ReadProcessMemory(process, function, there, sizeof there, &done) ||
      memcmp(here, there, sizeof here) != 0) {
    return Fail("kernelbase lies elsewhere in the program");
  }
  const size_t answer_size = AnswerCode(answer, native);
  void* code =
      VirtualAllocEx(process, NULL, answer_size, MEM_COMMIT | MEM_RESERVE, PAGE_EXECUTE_READWRITE);
  if (code == NULL || !WriteProcessMemory(process, code, answer, answer_size, &done)) {
    return Fail("cannot write the answer into the program");
  }
  const size_t jump_size = JumpCode(jump, code);
  if (!VirtualProtectEx(process, function, jump_size, PAGE_EXECUTE_READWRITE, &old) ||
      !WriteProcessMemory(process, function, jump, jump_size, &done)) {
    return Fail("cannot redirect IsWow64Process2");
  }
  VirtualProtectEx(process, function, jump_size, old, &old);
  FlushInstructionCache(process, function, jump_size);
  return 0;
}

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    fprintf(stderr, "usage: machine_stand_in HEX PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  const USHORT native = (USHORT)wcstoul(argv[1], NULL, 16);
  /* The program's command line: everything after the machine, as this program was given it. */
  const wchar_t* command_line = GetCommandLineW();
  for (int skipped = 0; skipped < 2; ++skipped) {
    int quoted = 0;
    while (*command_line == L' ' || *command_line == L'\t') ++command_line;
    while (*command_line != 0 && (quoted || (*command_line != L' ' && *command_line != L'\t'))) {
      if (*command_line == L'"') quoted = !quoted;
      ++command_line;
    }
  }
  while (*command_line == L' ' || *command_line == L'\t') ++command_line;
  wchar_t* line = _wcsdup(command_line);
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started;
  if (!CreateProcessW(argv[2], line, NULL, NULL, FALSE, DEBUG_ONLY_THIS_PROCESS, NULL, NULL,
                      &startup, &started)) {
    return Fail("cannot start the program");
  }
  int answered = 0;
  for (;;) {
    DEBUG_EVENT event;
    if (!WaitForDebugEvent(&event, INFINITE)) return Fail("lost the program");
    DWORD status = DBG_CONTINUE;
    if (event.dwDebugEventCode == CREATE_PROCESS_DEBUG_EVENT) {
      CloseHandle(event.u.CreateProcessInfo.hFile);
    } else if (event.dwDebugEventCode == LOAD_DLL_DEBUG_EVENT) {
      CloseHandle(event.u.LoadDll.hFile);
    } else if (event.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
      return Fail("the program ended before its first breakpoint");
    } else if (event.dwDebugEventCode == EXCEPTION_DEBUG_EVENT) {
      if (event.u.Exception.ExceptionRecord.ExceptionCode == EXCEPTION_BREAKPOINT && !answered) {
        if (Answer(started.hProcess, native) != 0) {
          TerminateProcess(started.hProcess, 1);
          return 1;
        }
        answered = 1;
      } else {
        status = DBG_EXCEPTION_NOT_HANDLED;
      }
    }
    if (!ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status)) {
      return Fail("cannot continue the program");
    }
    if (answered) break;
  }
  DebugSetProcessKillOnExit(FALSE);
  if (!DebugActiveProcessStop(started.dwProcessId)) return Fail("cannot let the program go");
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD exit_code = 1;
  GetExitCodeProcess(started.hProcess, &exit_code);
  return (int)exit_code;
}
