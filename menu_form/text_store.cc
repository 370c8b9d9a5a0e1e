// TextStore: blocks filled from the front, each text with its NUL; a text that does not fit in
// what is left of the last block starts a new one, as large as the text when the text is larger
// than a block.
#include "menu_form/text_store.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace tolvar {

std::string_view TextStore::Keep(std::string_view text) {
  if (text.empty()) return "";
  const size_t kept_size = text.size() + 1;
  if (kept_size > free_size_) {
    const size_t size = std::max(kBlockSize, kept_size);
    std::unique_ptr<char[]> block(new char[size]);
    blocks_.push_back(std::move(block));  // on failure, `block` frees itself
    free_ = blocks_.back().get();
    free_size_ = size;
  }
  char* const kept = free_;
  std::memcpy(kept, text.data(), text.size());
  kept[text.size()] = '\0';
  free_ += kept_size;
  free_size_ -= kept_size;
  return std::string_view(kept, text.size());
}

}  // namespace tolvar
