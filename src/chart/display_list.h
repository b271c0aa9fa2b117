#pragma once
// A surface that records what is drawn, in chart coordinates, so that tests
// inspect geometry rather than pixels and any painter can replay it.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "chart/surface.h"

namespace diaspring {

struct DrawOp {
  enum class Kind : std::uint8_t { Scale, Line, PSet, Print, DrawWidth, Cls };

  Kind kind = Kind::Cls;
  bool hasColor = false;  // Line: false means the foreground colour
  Color color = 0;        // Line (when hasColor), PSet
  // Scale: the two corners; Line: the two ends; PSet and Print: x1, y1;
  // DrawWidth: the width in x1.
  float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  std::uint32_t text = 0;  // Print: index into DisplayList::texts()
};

// The operations are stored packed: a 16-bit head per operation (its kind
// and its colour from a small palette) and only the coordinates it has, in
// blocks that grow without copying, about 10 bytes for a point of the curve
// instead of a whole DrawOp. packed() reads them back as DrawOps, bit for
// bit, one at a time; ops() holds them unpacked for callers that keep
// references to them (unpacked once on demand, so only such callers pay).
class DisplayList final : public Surface {
 public:
  class OpIterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = DrawOp;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = DrawOp;
    OpIterator() = default;
    DrawOp operator*() const { return list_->decode(index_, offset_); }
    // it->x1 reads a member of the operation decoded for it.
    struct Arrow {
      DrawOp op;
      const DrawOp* operator->() const { return &op; }
    };
    Arrow operator->() const { return Arrow{**this}; }
    OpIterator& operator++();
    OpIterator operator++(int) {
      OpIterator before = *this;
      ++*this;
      return before;
    }
    bool operator==(const OpIterator& other) const { return index_ == other.index_; }

   private:
    friend class DisplayList;
    OpIterator(const DisplayList* list, std::size_t index, std::size_t offset)
        : list_(list), index_(index), offset_(offset) {}
    const DisplayList* list_ = nullptr;
    std::size_t index_ = 0, offset_ = 0;
  };

  // The recorded operations, in order, as a read-only sequence.
  class Ops {
   public:
    explicit Ops(const DisplayList& list) : list_(&list) {}
    OpIterator begin() const { return list_->opAt(0); }
    OpIterator end() const { return OpIterator(list_, list_->size(), 0); }
    std::size_t size() const { return list_->size(); }
    bool empty() const { return list_->size() == 0; }
    DrawOp operator[](std::size_t i) const { return *list_->opAt(i); }
    // An iterator at operation `i` (end() when i >= size()).
    OpIterator at(std::size_t i) const { return list_->opAt(i); }
    DrawOp front() const { return (*this)[0]; }
    DrawOp back() const { return (*this)[size() - 1]; }

   private:
    const DisplayList* list_;
  };

  void scale(float x1, float y1, float x2, float y2) override;
  void line(float x1, float y1, float x2, float y2, std::optional<Color> color) override;
  void pset(float x, float y, Color color) override;
  void setCurrentX(float x) override { currentX_ = x; }
  void setCurrentY(float y) override { currentY_ = y; }
  void print(std::string_view text) override;
  void drawWidth(int width) override;
  void cls() override;

  Ops packed() const { return Ops(*this); }
  const std::deque<DrawOp>& ops() const;
  std::size_t size() const { return heads_.size(); }
  // The bytes the recorded operations and texts hold (for the benchmarks).
  std::size_t storageBytes() const;
  const std::string& text(const DrawOp& op) const { return texts_[op.text]; }
  float currentX() const { return currentX_; }
  float currentY() const { return currentY_; }

  // Index of the first operation after the last Cls (0 when there is none):
  // a painter replays from here.
  std::size_t visibleFrom() const { return visibleFrom_; }

  // The coordinate system in force at the first visible operation, if one
  // was set before it.
  std::optional<DrawOp> scaleBeforeVisible() const { return scaleBeforeVisible_; }

  // The line width in force at the first visible operation (1 unless set).
  int drawWidthBeforeVisible() const { return drawWidthBeforeVisible_; }

  // Forgets everything erased by the last Cls (the window keeps no history,
  // so a long session does not grow without bound). The coordinate system
  // and the line width in force are kept.
  void discardErased();

 private:
  void append(const DrawOp& op);
  // The operation at `index`, whose first word is at `offset`.
  DrawOp decode(std::size_t index, std::size_t offset) const;
  OpIterator opAt(std::size_t index) const;
  static std::size_t wordsOf(std::uint16_t head);

  // Per operation: the kind (bits 0-2), whether it has a colour (bit 3) and
  // its palette entry (bits 8-15; kEscape: the colour is the next word).
  std::deque<std::uint16_t> heads_;
  std::deque<std::uint32_t> words_;  // the floats' bits, text indices, colours
  std::vector<std::size_t> marks_;   // words_ offset of every kMarkEvery-th operation
  std::vector<Color> palette_;
  std::vector<std::string> texts_;
  mutable std::deque<DrawOp> unpacked_;  // ops() so far
  float currentX_ = 0, currentY_ = 0;
  std::size_t visibleFrom_ = 0;
  std::optional<DrawOp> lastScale_;
  std::optional<DrawOp> scaleBeforeVisible_;
  int lastDrawWidth_ = 1;
  int drawWidthBeforeVisible_ = 1;
};

}  // namespace diaspring
