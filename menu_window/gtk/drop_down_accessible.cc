// The drop-down's accessible objects: a combo box (the button) holding a list (created when first
// asked for) whose items are created one by one as they are asked for, so that a list of 32766
// entries costs nothing until an assistive technology walks it.
#include "menu_window/gtk/drop_down_accessible.h"

#include <gtk/gtk-a11y.h>

#include "menu_window/gtk/drop_down.h"

namespace {

constexpr char kOwnerKey[] = "tolvar-drop-down";
constexpr char kAccessibleKey[] = "tolvar-drop-down-accessible";

tolvar::DropDown* OwnerOf(GtkWidget* button) {
  if (button == nullptr) return nullptr;
  return static_cast<tolvar::DropDown*>(g_object_get_data(G_OBJECT(button), kOwnerKey));
}

// The button: a toggle button that only changes its accessible type.
struct TolvarDropDownButton {
  GtkToggleButton parent;
};
struct TolvarDropDownButtonClass {
  GtkToggleButtonClass parent_class;
};
G_DEFINE_TYPE(TolvarDropDownButton, tolvar_drop_down_button, GTK_TYPE_TOGGLE_BUTTON)

// The list, child of the combo box.
struct TolvarDropDownList {
  AtkObject parent;
  GtkWidget* button;  // weak: cleared when the button goes
  GPtrArray* items;   // item accessibles by position, nullptr until asked for
};
struct TolvarDropDownListClass {
  AtkObjectClass parent_class;
};
void tolvar_drop_down_list_selection_init(AtkSelectionIface* iface);
G_DEFINE_TYPE_WITH_CODE(TolvarDropDownList, tolvar_drop_down_list, ATK_TYPE_OBJECT,
                        G_IMPLEMENT_INTERFACE(ATK_TYPE_SELECTION,
                                              tolvar_drop_down_list_selection_init))

// One item of the list.
struct TolvarDropDownItem {
  AtkObject parent;
  int position;
};
struct TolvarDropDownItemClass {
  AtkObjectClass parent_class;
};
G_DEFINE_TYPE(TolvarDropDownItem, tolvar_drop_down_item, ATK_TYPE_OBJECT)

// The combo box, the button's accessible.
struct TolvarDropDownAccessible {
  GtkToggleButtonAccessible parent;
  AtkObject* list;
};
struct TolvarDropDownAccessibleClass {
  GtkToggleButtonAccessibleClass parent_class;
};
G_DEFINE_TYPE(TolvarDropDownAccessible, tolvar_drop_down_accessible,
              GTK_TYPE_TOGGLE_BUTTON_ACCESSIBLE)

TolvarDropDownList* AsList(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, tolvar_drop_down_list_get_type(), TolvarDropDownList);
}
TolvarDropDownItem* AsItem(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, tolvar_drop_down_item_get_type(), TolvarDropDownItem);
}
TolvarDropDownAccessible* AsCombo(gpointer object) {
  return G_TYPE_CHECK_INSTANCE_CAST(object, tolvar_drop_down_accessible_get_type(),
                                    TolvarDropDownAccessible);
}

AtkStateSet* BasicStates() {
  AtkStateSet* states = atk_state_set_new();
  atk_state_set_add_state(states, ATK_STATE_ENABLED);
  atk_state_set_add_state(states, ATK_STATE_SENSITIVE);
  return states;
}

// --- button ---

void tolvar_drop_down_button_class_init(TolvarDropDownButtonClass* klass) {
  gtk_widget_class_set_accessible_type(GTK_WIDGET_CLASS(klass),
                                       tolvar_drop_down_accessible_get_type());
}

void tolvar_drop_down_button_init(TolvarDropDownButton*) {}

// --- item ---

tolvar::DropDown* ItemOwner(AtkObject* item) {
  AtkObject* list = item->accessible_parent;
  return list == nullptr ? nullptr : OwnerOf(AsList(list)->button);
}

const gchar* ItemGetName(AtkObject* object) {
  const tolvar::DropDown* owner = ItemOwner(object);
  const int position = AsItem(object)->position;
  if (owner == nullptr || position >= owner->count()) return "";
  return owner->caption(position).data();
}

// The entry's description, so that someone moving through the list hears what each item does.
const gchar* ItemGetDescription(AtkObject* object) {
  const tolvar::DropDown* owner = ItemOwner(object);
  const int position = AsItem(object)->position;
  if (owner == nullptr || position >= owner->count()) return "";
  return owner->description(position).data();
}

gint ItemGetIndexInParent(AtkObject* object) { return AsItem(object)->position; }

AtkStateSet* ItemRefStateSet(AtkObject* object) {
  AtkStateSet* states = BasicStates();
  atk_state_set_add_state(states, ATK_STATE_SELECTABLE);
  atk_state_set_add_state(states, ATK_STATE_VISIBLE);
  const tolvar::DropDown* owner = ItemOwner(object);
  if (owner != nullptr && owner->selected() == AsItem(object)->position) {
    atk_state_set_add_state(states, ATK_STATE_SELECTED);
  }
  return states;
}

void tolvar_drop_down_item_class_init(TolvarDropDownItemClass* klass) {
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_name = ItemGetName;
  atk->get_description = ItemGetDescription;
  atk->get_index_in_parent = ItemGetIndexInParent;
  atk->ref_state_set = ItemRefStateSet;
}

void tolvar_drop_down_item_init(TolvarDropDownItem* self) {
  self->position = 0;
  ATK_OBJECT(self)->role = ATK_ROLE_LIST_ITEM;
}

// --- list ---

// The array holds an item only where one was asked for; a pointer array calls its free function on
// every slot, the empty ones too.
void UnrefItem(gpointer item) {
  if (item != nullptr) g_object_unref(item);
}

AtkObject* ListItem(TolvarDropDownList* list, int position) {
  const tolvar::DropDown* owner = OwnerOf(list->button);
  if (owner == nullptr || position < 0 || position >= owner->count()) return nullptr;
  if (list->items == nullptr) list->items = g_ptr_array_new_with_free_func(UnrefItem);
  if (static_cast<guint>(position) >= list->items->len) {
    g_ptr_array_set_size(list->items, owner->count());
  }
  gpointer& slot = g_ptr_array_index(list->items, position);
  if (slot == nullptr) {
    auto* item =
        static_cast<TolvarDropDownItem*>(g_object_new(tolvar_drop_down_item_get_type(), nullptr));
    item->position = position;
    atk_object_set_parent(ATK_OBJECT(item), ATK_OBJECT(list));
    slot = item;
  }
  return ATK_OBJECT(g_object_ref(slot));
}

// The items hold their list as parent: dropping them breaks that cycle.
void ListDropItems(TolvarDropDownList* list) {
  if (list->items != nullptr) g_ptr_array_unref(list->items);
  list->items = nullptr;
}

gint ListGetNChildren(AtkObject* object) {
  const tolvar::DropDown* owner = OwnerOf(AsList(object)->button);
  return owner == nullptr ? 0 : owner->count();
}

AtkObject* ListRefChild(AtkObject* object, gint position) {
  return ListItem(AsList(object), position);
}

gint ListGetIndexInParent(AtkObject*) { return 0; }

AtkStateSet* ListRefStateSet(AtkObject* object) {
  AtkStateSet* states = BasicStates();
  // Items are made on demand: clients must not walk them all.
  atk_state_set_add_state(states, ATK_STATE_MANAGES_DESCENDANTS);
  const tolvar::DropDown* owner = OwnerOf(AsList(object)->button);
  if (owner != nullptr && owner->is_open()) {
    atk_state_set_add_state(states, ATK_STATE_VISIBLE);
    atk_state_set_add_state(states, ATK_STATE_SHOWING);
  }
  return states;
}

void ListFinalize(GObject* object) {
  TolvarDropDownList* list = AsList(object);
  ListDropItems(list);
  if (list->button != nullptr) {
    g_object_remove_weak_pointer(G_OBJECT(list->button),
                                 reinterpret_cast<gpointer*>(&list->button));
  }
  G_OBJECT_CLASS(tolvar_drop_down_list_parent_class)->finalize(object);
}

gboolean ListAddSelection(AtkSelection* selection, gint position) {
  tolvar::DropDown* owner = OwnerOf(AsList(selection)->button);
  if (owner == nullptr || position < 0 || position >= owner->count()) return FALSE;
  owner->Pick(position);
  return TRUE;
}

gboolean ListClearSelection(AtkSelection*) { return FALSE; }

AtkObject* ListRefSelection(AtkSelection* selection, gint index) {
  TolvarDropDownList* list = AsList(selection);
  const tolvar::DropDown* owner = OwnerOf(list->button);
  if (owner == nullptr || index != 0) return nullptr;
  return ListItem(list, owner->selected());
}

gint ListGetSelectionCount(AtkSelection* selection) {
  const tolvar::DropDown* owner = OwnerOf(AsList(selection)->button);
  return owner != nullptr && owner->selected() >= 0 ? 1 : 0;
}

gboolean ListIsChildSelected(AtkSelection* selection, gint position) {
  const tolvar::DropDown* owner = OwnerOf(AsList(selection)->button);
  return owner != nullptr && owner->selected() == position;
}

void tolvar_drop_down_list_selection_init(AtkSelectionIface* iface) {
  iface->add_selection = ListAddSelection;
  iface->clear_selection = ListClearSelection;
  iface->ref_selection = ListRefSelection;
  iface->get_selection_count = ListGetSelectionCount;
  iface->is_child_selected = ListIsChildSelected;
}

void tolvar_drop_down_list_class_init(TolvarDropDownListClass* klass) {
  G_OBJECT_CLASS(klass)->finalize = ListFinalize;
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->get_n_children = ListGetNChildren;
  atk->ref_child = ListRefChild;
  atk->get_index_in_parent = ListGetIndexInParent;
  atk->ref_state_set = ListRefStateSet;
}

void tolvar_drop_down_list_init(TolvarDropDownList* self) {
  self->button = nullptr;
  self->items = nullptr;
  ATK_OBJECT(self)->role = ATK_ROLE_LIST;
}

// --- combo box ---

GtkWidget* ComboWidget(AtkObject* object) {
  return gtk_accessible_get_widget(GTK_ACCESSIBLE(object));
}

void ComboInitialize(AtkObject* object, gpointer data) {
  ATK_OBJECT_CLASS(tolvar_drop_down_accessible_parent_class)->initialize(object, data);
  object->role = ATK_ROLE_COMBO_BOX;
  g_object_set_data(G_OBJECT(data), kAccessibleKey, object);
}

gint ComboGetNChildren(AtkObject* object) { return ComboWidget(object) == nullptr ? 0 : 1; }

AtkObject* ComboRefChild(AtkObject* object, gint index) {
  GtkWidget* button = ComboWidget(object);
  if (button == nullptr || index != 0) return nullptr;
  TolvarDropDownAccessible* combo = AsCombo(object);
  if (combo->list == nullptr) {
    TolvarDropDownList* list = AsList(g_object_new(tolvar_drop_down_list_get_type(), nullptr));
    list->button = button;
    g_object_add_weak_pointer(G_OBJECT(button), reinterpret_cast<gpointer*>(&list->button));
    atk_object_set_parent(ATK_OBJECT(list), object);
    combo->list = ATK_OBJECT(list);
  }
  return ATK_OBJECT(g_object_ref(combo->list));
}

// A combo box is named by what it shows, unless the window gave it a name of its own.
const gchar* ComboGetName(AtkObject* object) {
  if (object->name != nullptr) {
    return ATK_OBJECT_CLASS(tolvar_drop_down_accessible_parent_class)->get_name(object);
  }
  const tolvar::DropDown* owner = OwnerOf(ComboWidget(object));
  if (owner == nullptr || owner->selected() < 0) return "";
  return owner->caption(owner->selected()).data();
}

AtkStateSet* ComboRefStateSet(AtkObject* object) {
  AtkStateSet* states =
      ATK_OBJECT_CLASS(tolvar_drop_down_accessible_parent_class)->ref_state_set(object);
  // Open or closed is "expanded", not a toggle button's "pressed".
  atk_state_set_remove_state(states, ATK_STATE_CHECKED);
  atk_state_set_remove_state(states, ATK_STATE_PRESSED);
  atk_state_set_add_state(states, ATK_STATE_EXPANDABLE);
  const tolvar::DropDown* owner = OwnerOf(ComboWidget(object));
  if (owner != nullptr && owner->is_open()) atk_state_set_add_state(states, ATK_STATE_EXPANDED);
  return states;
}

void ComboWidgetUnset(GtkAccessible* accessible) {
  g_object_set_data(G_OBJECT(gtk_accessible_get_widget(accessible)), kAccessibleKey, nullptr);
  TolvarDropDownAccessible* combo = AsCombo(accessible);
  if (combo->list != nullptr) {
    ListDropItems(AsList(combo->list));
    g_object_unref(combo->list);
    combo->list = nullptr;
  }
  GtkAccessibleClass* parent = GTK_ACCESSIBLE_CLASS(tolvar_drop_down_accessible_parent_class);
  if (parent->widget_unset != nullptr) parent->widget_unset(accessible);
}

void tolvar_drop_down_accessible_class_init(TolvarDropDownAccessibleClass* klass) {
  AtkObjectClass* atk = ATK_OBJECT_CLASS(klass);
  atk->initialize = ComboInitialize;
  atk->get_n_children = ComboGetNChildren;
  atk->ref_child = ComboRefChild;
  atk->get_name = ComboGetName;
  atk->ref_state_set = ComboRefStateSet;
  GTK_ACCESSIBLE_CLASS(klass)->widget_unset = ComboWidgetUnset;
}

void tolvar_drop_down_accessible_init(TolvarDropDownAccessible* self) { self->list = nullptr; }

}  // namespace

namespace tolvar {

GtkWidget* DropDownButtonNew(DropDown* owner) {
  GtkWidget* button = GTK_WIDGET(g_object_new(tolvar_drop_down_button_get_type(), nullptr));
  g_object_set_data(G_OBJECT(button), kOwnerKey, owner);
  return button;
}

void DropDownButtonDetach(GtkWidget* button) {
  g_object_set_data(G_OBJECT(button), kOwnerKey, nullptr);
}

void DescribeTreeCell(GtkWidget* tree, int row, const char* description) {
  AtkObject* table = gtk_widget_get_accessible(tree);
  if (table == nullptr || !ATK_IS_TABLE(table)) return;
  AtkObject* cell = atk_table_ref_at(ATK_TABLE(table), row, 0);
  if (cell == nullptr) return;
  if (g_strcmp0(atk_object_get_description(cell), description) != 0) {
    atk_object_set_description(cell, description);
  }
  g_object_unref(cell);
}

void DropDownAccessibleChanged(GtkWidget* button) {
  auto* object = static_cast<AtkObject*>(g_object_get_data(G_OBJECT(button), kAccessibleKey));
  if (object == nullptr) return;  // nobody has asked for it: nobody to tell
  g_object_notify(G_OBJECT(object), "accessible-name");
  const DropDown* owner = OwnerOf(button);
  atk_object_notify_state_change(object, ATK_STATE_EXPANDED, owner != nullptr && owner->is_open());
  AtkObject* list = AsCombo(object)->list;
  if (list != nullptr) g_signal_emit_by_name(list, "selection-changed");
}

}  // namespace tolvar
