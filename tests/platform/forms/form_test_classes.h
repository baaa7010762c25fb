#pragma once
// Small component classes with one published property of every kind the form
// descriptions support, for the reader and writer tests. They count their live
// instances and log Loaded() calls and setter calls so tests can check leaks
// and ordering.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <ostream>
#include <vector>

#include "platform/core/component.h"
#include "platform/core/events.h"
#include "platform/core/types.h"

namespace FormTest {
Q_NAMESPACE
enum TTestShape { tsCircle, tsSquare, tsTriangle };
Q_ENUM_NS(TTestShape)
enum TTestOption { toBold = 1, toItalic = 2, toUnderline = 4, toStrikeOut = 8 };
Q_DECLARE_FLAGS(TTestOptions, TTestOption)
Q_FLAG_NS(TTestOptions)
}  // namespace FormTest
Q_DECLARE_OPERATORS_FOR_FLAGS(FormTest::TTestOptions)
using enum FormTest::TTestShape;
using enum FormTest::TTestOption;
using FormTest::TTestOptions;
using FormTest::TTestShape;

// Readable QString values in test failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

using TValueEvent = TEvent<TObject*, int>;
Q_DECLARE_METATYPE(TValueEvent)

// Everything the tests observe: live components, Loaded calls, setter calls.
struct TestLog {
  static int live;
  static std::vector<QString> loaded;   // "Name" (or class) per Loaded() call
  static std::vector<QString> setters;  // "Name.Property[loading]" per setter call
  static void Clear() {
    loaded.clear();
    setters.clear();
  }
};

class TTestPen : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_CLASSINFO("default:Width", "1")
 public:
  int Width() const { return width_; }
  void SetWidth(int value) { width_ = value; }

 private:
  int width_ = 1;
};

class TTestFont : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(QString Name READ Name WRITE SetName)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(FormTest::TTestOptions Style READ Style WRITE SetStyle)
  Q_CLASSINFO("default:Name", "'MS Sans Serif'")
  Q_CLASSINFO("default:Height", "-11")
  Q_CLASSINFO("default:Color", "clWindowText")
  Q_CLASSINFO("default:Style", "[]")
 public:
  const QString& Name() const { return name_; }
  void SetName(const QString& value) { name_ = value; }
  int Height() const { return height_; }
  void SetHeight(int value) { height_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  TTestOptions Style() const { return style_; }
  void SetStyle(TTestOptions value) { style_ = value; }

 private:
  QString name_ = QStringLiteral("MS Sans Serif");
  int height_ = -11;
  TColor color_ = clWindowText;
  TTestOptions style_;
};

// Colours only when not the initial ones; Visible and Style always.
class TTestGrad : public TPersistent {
  Q_OBJECT
  Q_PROPERTY(TColor ColorFrom READ ColorFrom WRITE SetColorFrom)
  Q_PROPERTY(TColor ColorTo READ ColorTo WRITE SetColorTo)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(TTestShape Style READ Style WRITE SetStyle)
  Q_PROPERTY(TTestPen* Pen READ Pen)
  Q_CLASSINFO("default:ColorFrom", "$00E2E2E2")
  Q_CLASSINFO("default:ColorTo", "$008F8F8F")
 public:
  TColor ColorFrom() const { return from_; }
  void SetColorFrom(TColor value) { from_ = value; }
  TColor ColorTo() const { return to_; }
  void SetColorTo(TColor value) { to_ = value; }
  bool Visible() const { return visible_; }
  void SetVisible(bool value) { visible_ = value; }
  TTestShape Style() const { return style_; }
  void SetStyle(TTestShape value) { style_ = value; }
  TTestPen* Pen() const { return const_cast<TTestPen*>(&pen_); }

 private:
  TColor from_ = RGBColor(226, 226, 226);
  TColor to_ = RGBColor(143, 143, 143);
  bool visible_ = false;
  TTestShape style_ = tsCircle;
  TTestPen pen_;
};

// A component with a property of every kind.
class TTestItem : public TComponent {
  Q_OBJECT
  Q_PROPERTY(bool Flag READ Flag WRITE SetFlag)
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_PROPERTY(qint64 Big READ Big WRITE SetBig)
  Q_PROPERTY(short Small READ Small WRITE SetSmall)
  Q_PROPERTY(uint Mask READ Mask WRITE SetMask)
  Q_PROPERTY(uchar Byte READ Byte WRITE SetByte)
  Q_PROPERTY(double Ratio READ Ratio WRITE SetRatio)
  Q_PROPERTY(float Single READ Single WRITE SetSingle)
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(QByteArray Data READ Data WRITE SetData)
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(FormTest::TTestShape Shape READ Shape WRITE SetShape)
  // Named without its namespace, so moc cannot attach the enumerator itself.
  Q_PROPERTY(TTestOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(TTestFont* Font READ Font)
  Q_PROPERTY(TTestGrad* Grad READ Grad)
  Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
  Q_PROPERTY(TValueEvent OnValue READ OnValue WRITE SetOnValue)
  Q_PROPERTY(TTestItem* Buddy READ Buddy WRITE SetBuddy)
  Q_PROPERTY(int Hidden READ Hidden WRITE SetHidden STORED false)
  Q_PROPERTY(int Counted READ Counted WRITE SetCounted)
  Q_PROPERTY(QRect Area READ Area WRITE SetArea)
  Q_PROPERTY(int Version READ Version)
  Q_CLASSINFO("default:Count", "0")
  Q_CLASSINFO("default:Flag", "False")
  Q_CLASSINFO("stored:Counted", "IsCountedStored")
 public:
  Q_INVOKABLE explicit TTestItem(TComponent* owner = nullptr) : TComponent(owner) { ++TestLog::live; }
  ~TTestItem() override { --TestLog::live; }

  bool Flag() const { return flag_; }
  void SetFlag(bool value) {
    Log("Flag");
    flag_ = value;
  }
  int Count() const { return count_; }
  void SetCount(int value) {
    Log("Count");
    if (value == -999) throw EConvertError(QStringLiteral("Count may not be -999"));
    count_ = value;
  }
  qint64 Big() const { return big_; }
  void SetBig(qint64 value) { big_ = value; }
  short Small() const { return small_; }
  void SetSmall(short value) { small_ = value; }
  uint Mask() const { return mask_; }
  void SetMask(uint value) { mask_ = value; }
  uchar Byte() const { return byte_; }
  void SetByte(uchar value) { byte_ = value; }
  double Ratio() const { return ratio_; }
  void SetRatio(double value) { ratio_ = value; }
  float Single() const { return single_; }
  void SetSingle(float value) { single_ = value; }
  const QString& Text() const { return text_; }
  void SetText(const QString& value) {
    Log("Text");
    text_ = value;
  }
  const QStringList& Items() const { return items_; }
  void SetItems(const QStringList& value) { items_ = value; }
  const QByteArray& Data() const { return data_; }
  void SetData(const QByteArray& value) { data_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor value) { color_ = value; }
  TTestShape Shape() const { return shape_; }
  void SetShape(TTestShape value) { shape_ = value; }
  TTestOptions Options() const { return options_; }
  void SetOptions(TTestOptions value) { options_ = value; }
  TTestFont* Font() const { return const_cast<TTestFont*>(&font_); }
  TTestGrad* Grad() const { return const_cast<TTestGrad*>(&grad_); }
  TNotifyEvent OnClick() const { return onClick_; }
  void SetOnClick(const TNotifyEvent& value) { onClick_ = value; }
  TValueEvent OnValue() const { return onValue_; }
  void SetOnValue(const TValueEvent& value) { onValue_ = value; }
  TTestItem* Buddy() const { return buddy_; }
  void SetBuddy(TTestItem* value) {
    Log("Buddy");
    // The free-notification link is shared by both directions, so it stays
    // when the reference changes: the other one may still point back here.
    buddy_ = value;
    if (buddy_) buddy_->FreeNotification(this);
  }
  int Hidden() const { return hidden_; }
  void SetHidden(int value) { hidden_ = value; }
  int Counted() const { return counted_; }
  void SetCounted(int value) { counted_ = value; }
  Q_INVOKABLE bool IsCountedStored() const { return counted_ != 7; }
  int Version() const { return 3; }
  QRect Area() const { return area_; }
  void SetArea(const QRect& value) { area_ = value; }

  void Loaded() override {
    TComponent::Loaded();
    TestLog::loaded.push_back(Name().isEmpty() ? ClassName() : Name());
    TestLog::setters.push_back(Name() + QStringLiteral(".Loaded()"));
  }
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == buddy_) buddy_ = nullptr;
  }

 protected:
  void Log(const char* property) {
    TestLog::setters.push_back(Name() + u'.' + QLatin1String(property) +
                               ((ComponentState() & csLoading) ? QStringLiteral("[loading]") : QString()));
  }

 private:
  bool flag_ = false;
  int count_ = 0;
  qint64 big_ = 0;
  short small_ = 0;
  uint mask_ = 0;
  uchar byte_ = 0;
  double ratio_ = 0;
  float single_ = 0;
  QString text_;
  QStringList items_;
  QByteArray data_;
  TColor color_ = clBtnFace;
  TTestShape shape_ = tsCircle;
  TTestOptions options_;
  TTestFont font_;
  TTestGrad grad_;
  TNotifyEvent onClick_;
  TValueEvent onValue_;
  TTestItem* buddy_ = nullptr;
  int hidden_ = 0;
  int counted_ = 0;
  QRect area_;
};

// A control: it has a visual parent, set by the reader from the enclosing block.
class TTestControl : public TTestItem {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TTestControl(TComponent* owner = nullptr) : TTestItem(owner) {}
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override { return parent_; }
  void SetParentComponent(TComponent* value) override { parent_ = value; }

 private:
  TComponent* parent_ = nullptr;
};

// Fails on demand: in its constructor when a static switch is on, in Loaded
// when its Count is 13.
class TTestFragile : public TTestItem {
  Q_OBJECT
 public:
  static bool failConstruction;
  Q_INVOKABLE explicit TTestFragile(TComponent* owner = nullptr) : TTestItem(owner) {
    if (failConstruction) throw EComponentError(QStringLiteral("TTestFragile refuses to be created"));
  }
  void Loaded() override {
    TTestItem::Loaded();
    if (Count() == 13) throw EInvalidOperation(QStringLiteral("unlucky"));
  }
};

// The root of the test descriptions, with handlers to bind events to.
class TTestForm : public TTestItem {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(TNotifyEvent OnCreate READ OnCreate WRITE SetOnCreate)
 public:
  Q_INVOKABLE explicit TTestForm(TComponent* owner = nullptr) : TTestItem(owner) {}
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& value) {
    Log("Caption");
    caption_ = value;
  }
  TNotifyEvent OnCreate() const { return onCreate_; }
  void SetOnCreate(const TNotifyEvent& value) { onCreate_ = value; }

  Q_INVOKABLE void Button1Click(TObject* sender) { clicks.push_back(sender); }
  Q_INVOKABLE void FormCreate(TObject* sender) { clicks.push_back(sender); }
  Q_INVOKABLE void ValueChanged(TObject* sender, int value) {
    clicks.push_back(sender);
    values.push_back(value);
  }
  std::vector<TObject*> clicks;
  std::vector<int> values;

 private:
  QString caption_;
  TNotifyEvent onCreate_;
};

class TOtherForm : public TTestItem {
  Q_OBJECT
 public:
  using TTestItem::TTestItem;
};

// A component that is not a TTestItem, for references of the wrong class.
class TTestPlain : public TComponent {
  Q_OBJECT
 public:
  Q_INVOKABLE explicit TTestPlain(TComponent* owner = nullptr) : TComponent(owner) { ++TestLog::live; }
  ~TTestPlain() override { --TestLog::live; }
};

// Just a gradient settings object and an event, for exact writer output.
class TTestGradient : public TComponent {
  Q_OBJECT
  Q_PROPERTY(TTestGrad* Grad READ Grad)
  Q_PROPERTY(TNotifyEvent OnClick READ OnClick WRITE SetOnClick)
 public:
  Q_INVOKABLE explicit TTestGradient(TComponent* owner = nullptr) : TComponent(owner) {}
  TTestGrad* Grad() const { return const_cast<TTestGrad*>(&grad_); }
  TNotifyEvent OnClick() const { return onClick_; }
  void SetOnClick(const TNotifyEvent& value) { onClick_ = value; }
  Q_INVOKABLE void Clicked(TObject*) {}

 private:
  TTestGrad grad_;
  TNotifyEvent onClick_;
};

// Declares a default that is not a value of its property.
class TTestBadDefault : public TComponent {
  Q_OBJECT
  Q_PROPERTY(int Count READ Count WRITE SetCount)
  Q_CLASSINFO("default:Count", "'zero'")
 public:
  using TComponent::TComponent;
  int Count() const { return 0; }
  void SetCount(int) {}
};

// Registers the classes above with the class registry and their event types.
void RegisterFormTestClasses();
