#pragma once
// TMinMax: the smallest and largest value a gauge has seen, each with the
// local date-time it was reached, and how a painter shows them. The values
// 9999999 (Min) and -9999999 (Max) mark an empty record: the first tracked
// value is below the one and above the other. The extremes and their time
// stamps are run-time state and are not stored in form descriptions.

#include "kv/core/kv_persistent.h"
#include "platform/core/types.h"

class TMinMax : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(float Max READ Max WRITE SetMax STORED false)
  Q_PROPERTY(double MaxDateTime READ MaxDateTime WRITE SetMaxDateTime STORED false)
  Q_PROPERTY(float Min READ Min WRITE SetMin STORED false)
  Q_PROPERTY(double MinDateTime READ MinDateTime WRITE SetMinDateTime STORED false)
  Q_PROPERTY(TColor MaxColor READ MaxColor WRITE SetMaxColor)
  Q_PROPERTY(TColor MinColor READ MinColor WRITE SetMinColor)
  Q_PROPERTY(bool UseSectorCol READ UseSectorCol WRITE SetUseSectorCol)
  Q_PROPERTY(bool MinVisible READ MinVisible WRITE SetMinVisible)
  Q_PROPERTY(bool MaxVisible READ MaxVisible WRITE SetMaxVisible)
  Q_CLASSINFO("default:MaxColor", "16776960")
  Q_CLASSINFO("default:MinColor", "16776960")
  Q_CLASSINFO("default:UseSectorCol", "True")
  Q_CLASSINFO("default:MinVisible", "True")
  Q_CLASSINFO("default:MaxVisible", "True")

 public:
  static constexpr float kEmptyMin = 9999999;
  static constexpr float kEmptyMax = -9999999;

  // Both time stamps are taken from the clock now.
  Q_INVOKABLE explicit TMinMax(QObject* parent = nullptr);
  ~TMinMax() override = default;

  float Max() const { return max_; }
  // Stores v and stamps MaxDateTime with the current local date-time; no
  // comparison, no report.
  void SetMax(float v);
  double MaxDateTime() const { return maxDateTime_; }
  void SetMaxDateTime(double value) { maxDateTime_ = value; }
  float Min() const { return min_; }
  // As SetMax, for the minimum.
  void SetMin(float v);
  double MinDateTime() const { return minDateTime_; }
  void SetMinDateTime(double value) { minDateTime_ = value; }

  TColor MaxColor() const { return maxColor_; }
  void SetMaxColor(TColor value);
  TColor MinColor() const { return minColor_; }
  void SetMinColor(TColor value);
  bool UseSectorCol() const { return useSectorCol_; }
  void SetUseSectorCol(bool value);
  bool MinVisible() const { return minVisible_; }
  void SetMinVisible(bool value);
  bool MaxVisible() const { return maxVisible_; }
  void SetMaxVisible(bool value);

 private:
  template <typename T>
  void Set(T& field, T value) {
    if (value == field) return;
    field = value;
    Change();
  }

  float max_ = kEmptyMax;
  double maxDateTime_;
  float min_ = kEmptyMin;
  double minDateTime_;
  TColor maxColor_ = clAqua;
  TColor minColor_ = clAqua;
  bool useSectorCol_ = true;
  bool minVisible_ = true;
  bool maxVisible_ = true;
};
