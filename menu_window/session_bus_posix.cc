// POSIX body of SessionBusRuns: the variable GIO reads first, then the socket systemd places.
#include <glib.h>

#include "menu_window/session_bus.h"

namespace tolvar {

bool SessionBusRuns() {
  if (g_getenv("DBUS_SESSION_BUS_ADDRESS") != nullptr) return true;
  gchar* socket = g_build_filename(g_get_user_runtime_dir(), "bus", nullptr);
  const bool exists = g_file_test(socket, G_FILE_TEST_EXISTS);
  g_free(socket);
  return exists;
}

}  // namespace tolvar
