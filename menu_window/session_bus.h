// Whether the desktop's session bus runs, for the Linux parts that would otherwise start one: GIO
// and GTK's accessibility bridge launch a bus daemon of their own when none runs, and it outlives
// the menu.
#ifndef TOLVAR_MENU_WINDOW_SESSION_BUS_H_
#define TOLVAR_MENU_WINDOW_SESSION_BUS_H_

namespace tolvar {

// True when a session bus can be reached without starting one: its address is in the environment,
// or its socket is in the user's runtime directory.
bool SessionBusRuns();

}  // namespace tolvar

#endif  // TOLVAR_MENU_WINDOW_SESSION_BUS_H_
