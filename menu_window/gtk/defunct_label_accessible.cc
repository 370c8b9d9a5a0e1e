// The mend of GTK 3's label accessibles: their class's state set answer, wrapped once for the
// whole process.
#include "menu_window/gtk/defunct_label_accessible.h"

#include <gtk/gtk-a11y.h>
#include <gtk/gtk.h>

namespace tolvar {
namespace {

AtkStateSet* (*label_ref_state_set)(AtkObject*) = nullptr;

// GTK's own answer while the label lives; afterwards what every other GTK accessible answers.
AtkStateSet* RefStateSetEvenWhenDestroyed(AtkObject* accessible) {
  if (gtk_accessible_get_widget(GTK_ACCESSIBLE(accessible)) != nullptr) {
    return label_ref_state_set(accessible);
  }
  AtkStateSet* states = atk_state_set_new();
  atk_state_set_add_state(states, ATK_STATE_DEFUNCT);
  return states;
}

}  // namespace

void ReportDestroyedLabelsDefunct() {
  // The class stays referenced for the life of the process: the wrapper lives in it.
  auto* atk = static_cast<AtkObjectClass*>(g_type_class_ref(GTK_TYPE_LABEL_ACCESSIBLE));
  if (atk->ref_state_set == RefStateSetEvenWhenDestroyed) return;
  label_ref_state_set = atk->ref_state_set;
  atk->ref_state_set = RefStateSetEvenWhenDestroyed;
}

}  // namespace tolvar
