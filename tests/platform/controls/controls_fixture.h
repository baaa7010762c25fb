#pragma once
// Shared pieces of the control tests: an application object whose message
// boxes are recorded, and small controls that record what reaches them.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <vector>

#include "platform/controls/application.h"
#include "platform/controls/custom_control.h"
#include "platform/controls/form.h"
#include "platform/controls/graphic_control.h"
#include "platform/controls/win_control.h"

namespace kv::test {

struct RecordedBox {
  QString text;
  QString caption;
  int flags = 0;
};

// A fresh application object per test; message boxes are recorded instead
// of shown.
class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app = std::make_unique<TApplication>();
    app->SetMessageBoxHandler([this](const QString& text, const QString& caption, int flags) {
      boxes.push_back({text, caption, flags});
      return IDOK;
    });
  }
  void TearDown() override {
    app.reset();
    QApplication::processEvents();
  }
  // Shows the form and waits until it is the active window.
  static bool ShowAndActivate(TForm* form) {
    form->Show();
    return QTest::qWaitForWindowActive(form->Widget());
  }

  std::unique_ptr<TApplication> app;
  std::vector<RecordedBox> boxes;
};

// A windowless control that fills a colour (deliberately past its own
// bounds, to show the clipping) and records its input.
class Swatch : public TGraphicControl {
 public:
  Swatch(TComponent* owner, TWinControl* parent, TRect bounds, TColor color)
      : TGraphicControl(owner), color_(color) {
    SetBoundsRect(bounds);
    SetParent(parent);
  }
  int paints = 0;
  std::vector<QString> log;
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back(QStringLiteral("down %1 %2,%3").arg(int(b)).arg(x).arg(y));
    TGraphicControl::MouseDown(b, s, x, y);
  }
  void MouseUp(TMouseButton b, TShiftState s, int x, int y) override {
    log.push_back(QStringLiteral("up %1 %2,%3").arg(int(b)).arg(x).arg(y));
    TGraphicControl::MouseUp(b, s, x, y);
  }
  void Click() override {
    log.push_back(QStringLiteral("click"));
    TGraphicControl::Click();
  }

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(color_);
    Canvas()->FillRect(Rect(-40, -40, Width() + 40, Height() + 40));
  }

 private:
  TColor color_;
};

// A windowed control that may ask for the arrow keys and records its keys,
// focus messages and wheel deltas.
class KeyTarget : public TCustomControl {
 public:
  KeyTarget(TComponent* owner, TWinControl* parent, TRect bounds, bool wantsArrows)
      : TCustomControl(owner), wantsArrows_(wantsArrows) {
    SetBoundsRect(bounds);
    SetParent(parent);
    SetTabStop(true);
  }
  std::vector<uint16_t> keys;
  std::vector<QString> focusLog;
  std::vector<int> wheel;
  bool handleWheel = true;
  void WndProc(TMessage& m) override {
    switch (m.Msg) {
      case WM_GETDLGCODE:
        m.Result = wantsArrows_ ? DLGC_WANTARROWS : 0;
        return;
      case WM_SETFOCUS:
        focusLog.push_back(QStringLiteral("setfocus"));
        break;
      case WM_KILLFOCUS:
        focusLog.push_back(QStringLiteral("killfocus"));
        break;
      case WM_MOUSEWHEEL:
        wheel.push_back(WheelDelta(m));
        if (handleWheel) {
          m.Result = 1;
          return;
        }
        break;
      default:
        break;
    }
    TCustomControl::WndProc(m);
  }
  void KeyDown(uint16_t& key, TShiftState shift) override {
    keys.push_back(key);
    TCustomControl::KeyDown(key, shift);
  }

 private:
  bool wantsArrows_;
};

}  // namespace kv::test
