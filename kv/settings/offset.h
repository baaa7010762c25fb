#pragma once
// TKvOffset: four margins (Top, Left, Right, Bottom) that an owner applies to
// a rectangle with SetOffset. Margins are stored as given; negative ones
// enlarge the rectangle. Copying into another offset copies the four fields
// and reports one change of the destination.

#include <cstdint>

#include "kv/core/kv_persistent.h"

class TKvOffset : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(int Top READ Top WRITE SetTop)
  Q_PROPERTY(int Left READ Left WRITE SetLeft)
  Q_PROPERTY(int Right READ Right WRITE SetRight)
  Q_PROPERTY(int Bottom READ Bottom WRITE SetBottom)
  Q_CLASSINFO("default:Top", "0")
  Q_CLASSINFO("default:Left", "0")
  Q_CLASSINFO("default:Right", "0")
  Q_CLASSINFO("default:Bottom", "0")

 public:
  Q_INVOKABLE explicit TKvOffset(QObject* parent = nullptr) : TKvPersistent(parent) {}
  ~TKvOffset() override = default;

  int32_t Top() const { return top_; }
  void SetTop(int32_t value);
  int32_t Left() const { return left_; }
  void SetLeft(int32_t value);
  int32_t Right() const { return right_; }
  void SetRight(int32_t value);
  int32_t Bottom() const { return bottom_; }
  void SetBottom(int32_t value);

  // Stores the four margins at once, without comparing and without
  // reporting; an owner that wants a notification calls Change itself.
  void Write(int32_t Top, int32_t Left, int32_t Right, int32_t Bottom);

  // `Rect` shrunk by the margins: left + Left, top + Top, right - Right,
  // bottom - Bottom. Changes no property.
  TRect SetOffset(const TRect& Rect) const;

  // Into another offset: the four fields directly, then one Change of the
  // destination. Any other destination raises the assignment error.
  void AssignTo(TPersistent* Dest) override;

 private:
  int32_t top_ = 0;
  int32_t left_ = 0;
  int32_t right_ = 0;
  int32_t bottom_ = 0;
};
