// TextStore: where the form keeps the text of its entries, and the Linux window the captions of its
// list, in a few large blocks rather than one allocation per text. The largest menu has 65,532
// texts; kept one by one they cost an allocation each and touch about twice the memory, and the
// menu reads them at start.
#ifndef TOLVAR_MENU_FORM_TEXT_STORE_H_
#define TOLVAR_MENU_FORM_TEXT_STORE_H_

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

namespace tolvar {

class TextStore {
 public:
  // Copies `text` into the store. The copy stays where it is, unchanged, for the life of the store
  // and across a move of it, and a NUL follows it, so that its data() can go where a C string is
  // wanted (GTK takes captions as C strings). Throws std::bad_alloc when memory runs out.
  std::string_view Keep(std::string_view text);

 private:
  // Large enough that a block holds hundreds of captions, small enough that the waste at the end
  // of the last block does not matter beside a three-entry menu's window.
  static constexpr size_t kBlockSize = 64 * 1024;

  std::vector<std::unique_ptr<char[]>> blocks_;
  char* free_ = nullptr;  // the unused end of the last block
  size_t free_size_ = 0;
};

}  // namespace tolvar

#endif  // TOLVAR_MENU_FORM_TEXT_STORE_H_
