#pragma once
// TKvLineSettings: one family of scale marks — the pen they are drawn with,
// their length, their offset and whether they are drawn. The object only
// stores the values; the owning scale's painter decides what Length and
// Offset measure (in pixels).
//
// It owns its pen; a change of the pen's colour, width or style reaches the
// listener with the pen as sender. SetPen copies the given pen's attributes,
// so an owner hears the pen first and then the line settings. It cannot be
// copied (assigning one raises the assignment error).

#include <cstdint>
#include <memory>

#include "kv/core/kv_persistent.h"
#include "platform/graphics/pen.h"

class TKvLineSettings : public TKvPersistent {
  Q_OBJECT
  Q_PROPERTY(TPen* Pen READ Pen WRITE SetPen)
  Q_PROPERTY(int Length READ Length WRITE SetLength)
  Q_PROPERTY(int Offset READ Offset WRITE SetOffset)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_CLASSINFO("default:Offset", "0")
  Q_CLASSINFO("default:Visible", "True")

 public:
  Q_INVOKABLE explicit TKvLineSettings(QObject* parent = nullptr);
  ~TKvLineSettings() override;

  TPen* Pen() const { return pen_.get(); }
  // Copies `value` into the owned pen (unless it is that pen), then reports.
  void SetPen(TPen* value);
  int32_t Length() const { return length_; }
  void SetLength(int32_t value);
  int32_t Offset() const { return offset_; }
  void SetOffset(int32_t value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

 private:
  std::unique_ptr<TPen> pen_;
  int32_t length_ = 0;
  int32_t offset_ = 0;
  bool visible_ = true;
};
