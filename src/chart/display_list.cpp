#include "chart/display_list.h"

#include <algorithm>

#include "runtime/bit_cast.h"

namespace diaspring {
namespace {

constexpr std::size_t kMarkEvery = 64;
constexpr std::uint16_t kKindBits = 0x7;
constexpr std::uint16_t kHasColor = 0x8;
constexpr std::uint16_t kEscape = 0xFF;  // palette entry: the colour follows in a word

std::uint32_t bits(float v) { return bitCast<std::uint32_t>(v); }
float number(std::uint32_t w) { return bitCast<float>(w); }

DrawOp::Kind kindOf(std::uint16_t head) { return static_cast<DrawOp::Kind>(head & kKindBits); }

// Words of the coordinates each kind keeps (before an escaped colour).
std::size_t coordinateWords(DrawOp::Kind kind) {
  switch (kind) {
    case DrawOp::Kind::Scale:
    case DrawOp::Kind::Line: return 4;
    case DrawOp::Kind::PSet: return 2;
    case DrawOp::Kind::Print: return 3;  // x, y, text
    case DrawOp::Kind::DrawWidth: return 1;
    case DrawOp::Kind::Cls: return 0;
  }
  return 0;
}

}  // namespace

std::size_t DisplayList::wordsOf(std::uint16_t head) {
  return coordinateWords(kindOf(head)) + ((head >> 8) == kEscape ? 1 : 0);
}

DisplayList::OpIterator& DisplayList::OpIterator::operator++() {
  offset_ += wordsOf(list_->heads_[index_]);
  ++index_;
  return *this;
}

DisplayList::OpIterator DisplayList::opAt(std::size_t index) const {
  if (index >= heads_.size()) return OpIterator(this, heads_.size(), words_.size());
  std::size_t at = index - index % kMarkEvery;
  std::size_t offset = marks_[at / kMarkEvery];
  for (; at < index; ++at) offset += wordsOf(heads_[at]);
  return OpIterator(this, index, offset);
}

void DisplayList::append(const DrawOp& op) {
  if (heads_.size() % kMarkEvery == 0) marks_.push_back(words_.size());
  std::uint16_t head = static_cast<std::uint16_t>(op.kind);
  if (op.hasColor) head |= kHasColor;
  std::uint16_t entry = kEscape;
  const auto found = std::find(palette_.begin(), palette_.end(), op.color);
  if (found != palette_.end()) {
    entry = static_cast<std::uint16_t>(found - palette_.begin());
  } else if (palette_.size() < kEscape) {
    entry = static_cast<std::uint16_t>(palette_.size());
    palette_.push_back(op.color);
  }
  head |= static_cast<std::uint16_t>(entry << 8);
  heads_.push_back(head);
  switch (op.kind) {
    case DrawOp::Kind::Scale:
    case DrawOp::Kind::Line:
      words_.insert(words_.end(), {bits(op.x1), bits(op.y1), bits(op.x2), bits(op.y2)});
      break;
    case DrawOp::Kind::PSet: words_.insert(words_.end(), {bits(op.x1), bits(op.y1)}); break;
    case DrawOp::Kind::Print: words_.insert(words_.end(), {bits(op.x1), bits(op.y1), op.text}); break;
    case DrawOp::Kind::DrawWidth: words_.push_back(bits(op.x1)); break;
    case DrawOp::Kind::Cls: break;
  }
  if (entry == kEscape) words_.push_back(op.color);
}

DrawOp DisplayList::decode(std::size_t index, std::size_t offset) const {
  const std::uint16_t head = heads_[index];
  DrawOp op;
  op.kind = kindOf(head);
  op.hasColor = (head & kHasColor) != 0;
  const std::size_t entry = head >> 8;
  switch (op.kind) {
    case DrawOp::Kind::Scale:
    case DrawOp::Kind::Line:
      op.x2 = number(words_[offset + 2]);
      op.y2 = number(words_[offset + 3]);
      [[fallthrough]];
    case DrawOp::Kind::PSet:
      op.x1 = number(words_[offset]);
      op.y1 = number(words_[offset + 1]);
      break;
    case DrawOp::Kind::Print:
      op.x1 = number(words_[offset]);
      op.y1 = number(words_[offset + 1]);
      op.text = words_[offset + 2];
      break;
    case DrawOp::Kind::DrawWidth: op.x1 = number(words_[offset]); break;
    case DrawOp::Kind::Cls: break;
  }
  op.color = entry == kEscape ? words_[offset + coordinateWords(op.kind)] : palette_[entry];
  return op;
}

const std::deque<DrawOp>& DisplayList::ops() const {
  // Operations are only ever added (discardErased starts afresh), so the
  // ones unpacked before stay valid.
  for (auto it = opAt(unpacked_.size()); unpacked_.size() < size(); ++it) unpacked_.push_back(*it);
  return unpacked_;
}

std::size_t DisplayList::storageBytes() const {
  std::size_t texts = 0;
  for (const std::string& t : texts_) texts += sizeof(std::string) + (t.size() > 15 ? t.capacity() + 1 : 0);
  return heads_.size() * sizeof(std::uint16_t) + words_.size() * sizeof(std::uint32_t) +
         marks_.capacity() * sizeof(std::size_t) + palette_.capacity() * sizeof(Color) + texts;
}

void DisplayList::scale(float x1, float y1, float x2, float y2) {
  const DrawOp op{.kind = DrawOp::Kind::Scale, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2};
  append(op);
  lastScale_ = op;
}

void DisplayList::line(float x1, float y1, float x2, float y2, std::optional<Color> color) {
  append({.kind = DrawOp::Kind::Line,
          .hasColor = color.has_value(),
          .color = color.value_or(0),
          .x1 = x1,
          .y1 = y1,
          .x2 = x2,
          .y2 = y2});
}

void DisplayList::pset(float x, float y, Color color) {
  append({.kind = DrawOp::Kind::PSet, .hasColor = true, .color = color, .x1 = x, .y1 = y});
}

void DisplayList::print(std::string_view text) {
  const DrawOp op{.kind = DrawOp::Kind::Print,
                  .x1 = currentX_,
                  .y1 = currentY_,
                  .text = static_cast<std::uint32_t>(texts_.size())};
  texts_.emplace_back(text);
  append(op);
}

void DisplayList::drawWidth(int width) {
  append({.kind = DrawOp::Kind::DrawWidth, .x1 = static_cast<float>(width)});
  lastDrawWidth_ = width;
}

void DisplayList::cls() {
  append({.kind = DrawOp::Kind::Cls});
  currentX_ = 0;
  currentY_ = 0;
  visibleFrom_ = size();
  scaleBeforeVisible_ = lastScale_;
  drawWidthBeforeVisible_ = lastDrawWidth_;
}

void DisplayList::discardErased() {
  if (visibleFrom_ == 0) return;
  std::vector<DrawOp> kept;
  kept.reserve(size() - visibleFrom_);
  for (auto it = opAt(visibleFrom_); it != packed().end(); ++it) kept.push_back(*it);
  unpacked_.clear();
  std::vector<std::string> texts = std::move(texts_);
  heads_.clear();
  words_.clear();
  marks_.clear();
  palette_.clear();
  texts_.clear();
  // Texts of the erased prints are no longer referenced: renumber the rest.
  for (DrawOp& op : kept) {
    if (op.kind == DrawOp::Kind::Print) {
      const std::uint32_t index = static_cast<std::uint32_t>(texts_.size());
      texts_.push_back(std::move(texts[op.text]));
      op.text = index;
    }
    append(op);
  }
  heads_.shrink_to_fit();
  words_.shrink_to_fit();
  visibleFrom_ = 0;
}

}  // namespace diaspring
