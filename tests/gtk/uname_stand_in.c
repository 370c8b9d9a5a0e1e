/* A stand-in for the machine the Linux menu runs on, for its end-to-end tests: loaded with
 * LD_PRELOAD, uname() answers the machine named in TOLVAR_STAND_IN_MACHINE ("aarch64") and the
 * rest as the system does, so that '#show-if: arm64 can be seen to hold on an x86-64 machine. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdlib.h>
#include <string.h>
#include <sys/utsname.h>

int uname(struct utsname* names) {
  int (*system_uname)(struct utsname*) = NULL;
  /* POSIX's way to take a function from dlsym: copy its address into the pointer. */
  void* found = dlsym(RTLD_NEXT, "uname");
  memcpy(&system_uname, &found, sizeof system_uname);
  if (system_uname == NULL) return -1;
  const int status = system_uname(names);
  const char* machine = getenv("TOLVAR_STAND_IN_MACHINE");
  if (status == 0 && machine != NULL) {
    strncpy(names->machine, machine, sizeof names->machine - 1);
    names->machine[sizeof names->machine - 1] = '\0';
  }
  return status;
}
