#pragma once
// TLabel: a windowless line of text. With AutoSize it takes the size of its
// caption in its font; unless Transparent it first fills its rectangle with
// its colour (by default the parent's), so it shows as an opaque strip over
// whatever the parent paints beneath it.

#include "platform/controls/graphic_control.h"

class TLabel : public TGraphicControl {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_CLASSINFO("default:Caption", "''")
  Q_CLASSINFO("default:AutoSize", "True")
  Q_CLASSINFO("default:Transparent", "False")
  Q_CLASSINFO("default:ParentColor", "True")

 public:
  Q_INVOKABLE explicit TLabel(TComponent* AOwner = nullptr);
  ~TLabel() override;

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);

  // The size the caption needs in the label's font (what AutoSize applies).
  QSize TextSize() const;

  void WndProc(TMessage& Message) override;
  void Loaded() override;

 protected:
  void Paint() override;
  // Gives the label the size of its caption when AutoSize is on (not while
  // a form description is read: Loaded does it once everything is set).
  void AdjustBounds();

 private:
  bool autoSize_ = true;
  bool transparent_ = false;
};
