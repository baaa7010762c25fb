// Controls as components: ownership versus parent, destruction in every
// order, message dispatch, alignment, inherited font and colour, properties.

#include <QMetaProperty>

#include "tests/platform/controls/controls_fixture.h"
#include "tests/platform/controls/handler_form.h"

namespace {

using kv::test::ControlsTest;

int gAlive = 0;

template <typename Base>
class Counted : public Base {
 public:
  explicit Counted(TComponent* owner) : Base(owner) { ++gAlive; }
  ~Counted() override { --gAlive; }
};

// Handles WM_FLASH in its own WndProc, as the flashing controls do.
class Flasher : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  std::vector<std::pair<intptr_t, intptr_t>> flashes;
  int other = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_FLASH) {
      flashes.emplace_back(m.WParam, m.LParam);
      m.Result = 7;
      return;
    }
    if (m.Msg == CM_TEXTCHANGED) ++other;
    TGraphicControl::WndProc(m);
  }
};

class SizeWatcher : public TWinControl {
 public:
  using TWinControl::TWinControl;
  std::vector<std::pair<int, int>> sizes;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SIZE) sizes.emplace_back(LoWord(m.LParam), HiWord(m.LParam));
    TWinControl::WndProc(m);
  }
};

TEST_F(ControlsTest, OwnerAndParentAreSeparate) {
  TForm form(nullptr);
  auto* panel = new TWinControl(&form);
  panel->SetParent(&form);
  // Owned by the form, shown inside the panel.
  auto* label = new TGraphicControl(&form);
  label->SetParent(panel);
  EXPECT_EQ(label->Owner(), &form);
  EXPECT_EQ(label->Parent(), panel);
  EXPECT_EQ(panel->ControlCount(), 1);
  EXPECT_EQ(form.ControlCount(), 1);
  EXPECT_EQ(form.ComponentCount(), 2);
  EXPECT_EQ(panel->Widget()->parentWidget(), form.Widget());

  // Parent in creation order; moving a control appends it to the new parent.
  auto* second = new TGraphicControl(&form);
  second->SetParent(&form);
  label->SetParent(&form);
  ASSERT_EQ(form.ControlCount(), 3);
  EXPECT_EQ(form.Controls(0), panel);
  EXPECT_EQ(form.Controls(1), second);
  EXPECT_EQ(form.Controls(2), label);
  EXPECT_EQ(panel->ControlCount(), 0);

  // Streaming sets the parent from the enclosing component, checked.
  label->SetParentComponent(panel);
  EXPECT_EQ(label->GetParentComponent(), panel);
  TComponent plain(nullptr);
  EXPECT_THROW(label->SetParentComponent(&plain), EInvalidCast);
  EXPECT_EQ(label->Parent(), panel);
  // A control cannot go inside itself or its own child.
  auto* inner = new TWinControl(&form);
  inner->SetParent(panel);
  EXPECT_THROW(panel->SetParent(inner), EInvalidOperation);
  EXPECT_THROW(panel->SetParent(panel), EInvalidOperation);
}

TEST_F(ControlsTest, OwnedControlsAreFreedWithTheirOwner) {
  gAlive = 0;
  auto* form = new TForm(nullptr);
  auto* panel = new Counted<TWinControl>(form);
  panel->SetParent(form);
  (new Counted<TGraphicControl>(form))->SetParent(panel);
  (new Counted<TWinControl>(form))->SetParent(panel);
  new Counted<TComponent>(panel);  // owned by the panel, not a control
  EXPECT_EQ(gAlive, 4);
  delete form;
  EXPECT_EQ(gAlive, 0);
}

TEST_F(ControlsTest, FreeingAParentFirstLeavesForeignChildrenAlive) {
  TComponent otherOwner(nullptr);
  auto* parent = new TWinControl(nullptr);
  auto* child = new TWinControl(&otherOwner);
  auto* graphic = new TGraphicControl(&otherOwner);
  child->SetParent(parent);
  graphic->SetParent(parent);
  ASSERT_EQ(child->Widget()->parentWidget(), parent->Widget());
  delete parent;
  // Both children are still alive and usable, without a parent.
  EXPECT_EQ(child->Parent(), nullptr);
  EXPECT_EQ(graphic->Parent(), nullptr);
  ASSERT_NE(child->Widget(), nullptr);
  EXPECT_EQ(child->Widget()->parentWidget(), nullptr);
  EXPECT_FALSE(child->Widget()->isVisible());
  child->SetBounds(1, 2, 3, 4);
  EXPECT_EQ(otherOwner.ComponentCount(), 2);
}

TEST_F(ControlsTest, FreeingAChildFirstUnlinksItFromItsParent) {
  TForm form(nullptr);
  auto* child = new TWinControl(&form);
  child->SetParent(&form);
  auto* graphic = new TGraphicControl(&form);
  graphic->SetParent(&form);
  delete child;
  delete graphic;
  EXPECT_EQ(form.ControlCount(), 0);
  EXPECT_EQ(form.ComponentCount(), 0);
  EXPECT_TRUE(form.Widget()->findChildren<QWidget*>().isEmpty());
}

TEST_F(ControlsTest, WidgetDeletedByQtIsNotDeletedAgain) {
  TComponent owner(nullptr);
  auto* parent = new TWinControl(&owner);
  auto* child = new TWinControl(&owner);
  child->SetParent(parent);
  // Qt deletes the child widget together with the parent widget.
  delete parent->Widget();
  EXPECT_EQ(parent->Widget(), nullptr);
  EXPECT_EQ(child->Widget(), nullptr);
  delete child;  // must not touch the deleted widget
  EXPECT_EQ(owner.ComponentCount(), 1);
  // A control without a widget still works as a component.
  parent->SetBounds(0, 0, 10, 10);
  parent->Invalidate();
}

TEST_F(ControlsTest, PerformReachesTheOverriddenWndProc) {
  TForm form(nullptr);
  auto* flasher = new Flasher(&form);
  flasher->SetParent(&form);
  EXPECT_EQ(WM_FLASH, 1124u);
  EXPECT_EQ(WM_USER, 1024u);
  EXPECT_EQ(flasher->Perform(WM_FLASH, 12345, 1), 7);
  EXPECT_EQ(flasher->Perform(WM_FLASH, 12346, 0), 7);
  ASSERT_EQ(flasher->flashes.size(), 2u);
  EXPECT_EQ(flasher->flashes[0], std::make_pair(intptr_t(12345), intptr_t(1)));
  EXPECT_EQ(flasher->flashes[1].second, 0);
  // Messages the control does not handle go to the inherited handling.
  EXPECT_EQ(flasher->Perform(WM_USER + 5), 0);
  // Property changes arrive as messages too.
  flasher->SetText(QStringLiteral("x"));
  flasher->SetText(QStringLiteral("x"));
  EXPECT_EQ(flasher->other, 1);
}

TEST_F(ControlsTest, MouseMessagesBecomeHandlersAndEvents) {
  TForm form(nullptr);
  auto* c = new TGraphicControl(&form);
  c->SetBounds(0, 0, 20, 20);
  std::vector<QString> log;
  c->SetOnMouseDown([&](TObject*, TMouseButton b, TShiftState s, int x, int y) {
    log.push_back(QStringLiteral("down %1 %2 %3,%4").arg(int(b)).arg(int(s.toInt())).arg(x).arg(y));
  });
  c->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, int x, int y) {
    log.push_back(QStringLiteral("up %1,%2").arg(x).arg(y));
  });
  c->SetOnClick([&](TObject* sender) { log.push_back(sender == c ? "click" : "click?"); });
  c->SetOnDblClick([&](TObject*) { log.push_back("dbl"); });
  c->Perform(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MakePointParam(3, -2));
  c->Perform(WM_LBUTTONUP, 0, MakePointParam(4, 5));
  // Released outside: no click.
  c->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MakePointParam(1, 1));
  c->Perform(WM_LBUTTONUP, 0, MakePointParam(25, 5));
  c->Perform(WM_LBUTTONDBLCLK, MK_LBUTTON, MakePointParam(2, 2));
  const std::vector<QString> expected = {
      QStringLiteral("down 0 9 3,-2"), "click", "up 4,5", "down 0 8 1,1", "up 25,5", "dbl",
      QStringLiteral("down 0 72 2,2")};
  EXPECT_EQ(log, expected);
}

TEST_F(ControlsTest, ClientAlignedChildFollowsItsParent) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSizeable);
  form.SetClientWidth(300);
  form.SetClientHeight(200);
  auto* top = new TWinControl(&form);
  top->SetBounds(5, 5, 50, 30);
  top->SetParent(&form);
  top->SetAlign(alTop);
  auto* client = new SizeWatcher(&form);
  client->SetParent(&form);
  client->SetAlign(alClient);
  auto* left = new TGraphicControl(&form);
  left->SetBounds(0, 0, 40, 10);
  left->SetParent(&form);
  left->SetAlign(alLeft);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 40, 200));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 30, 300, 200));
  EXPECT_EQ(client->Widget()->geometry(), QRect(40, 30, 260, 170));

  form.SetClientWidth(400);
  EXPECT_EQ(client->BoundsRect(), Rect(40, 30, 400, 200));
  ASSERT_FALSE(client->sizes.empty());
  EXPECT_EQ(client->sizes.back(), std::make_pair(360, 170));

  // Hiding an aligned child gives its place to the others.
  top->SetVisible(false);
  EXPECT_EQ(client->BoundsRect(), Rect(40, 0, 400, 200));
  // An aligned control cannot be moved away from its place.
  client->SetBounds(100, 100, 10, 10);
  EXPECT_EQ(client->BoundsRect(), Rect(40, 0, 400, 200));
  // Back to no alignment: the bounds are free again.
  client->SetAlign(alNone);
  client->SetBounds(100, 100, 10, 10);
  EXPECT_EQ(client->BoundsRect(), Rect(100, 100, 110, 110));
}

TEST_F(ControlsTest, ClientAlignmentFollowsAUserResize) {
  TForm form(nullptr);
  form.SetBorderStyle(bsSizeable);
  form.SetClientWidth(200);
  form.SetClientHeight(100);
  auto* client = new TWinControl(&form);
  client->SetParent(&form);
  client->SetAlign(alClient);
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  form.Widget()->resize(250, 120);  // as the window system would
  QApplication::processEvents();
  EXPECT_EQ(form.ClientWidth(), 250);
  EXPECT_EQ(form.ClientHeight(), 120);
  EXPECT_EQ(client->BoundsRect(), Rect(0, 0, 250, 120));
}

TEST_F(ControlsTest, FontAndColourFollowTheParentUntilSet) {
  TForm form(nullptr);
  form.Font()->SetName(QStringLiteral("Arial"));
  form.Font()->SetHeight(-19);
  auto* child = new TWinControl(&form);
  child->SetParent(&form);
  EXPECT_TRUE(child->ParentFont());
  EXPECT_EQ(child->Font()->Name(), QStringLiteral("Arial"));
  EXPECT_EQ(child->Font()->Height(), -19);
  form.Font()->SetHeight(-13);
  EXPECT_EQ(child->Font()->Height(), -13);
  EXPECT_EQ(child->Widget()->font().pixelSize(), 13);
  // Setting the child's own font ends the inheritance.
  child->Font()->SetHeight(-11);
  EXPECT_FALSE(child->ParentFont());
  EXPECT_FALSE(child->IsColorStored() && child->ParentColor());
  form.Font()->SetHeight(-20);
  EXPECT_EQ(child->Font()->Height(), -11);

  child->SetParentColor(true);
  EXPECT_EQ(child->Color(), clBtnFace);
  form.SetColor(clYellow);
  EXPECT_EQ(child->Color(), clYellow);
  EXPECT_EQ(child->Widget()->palette().color(QPalette::Window), QColor(255, 255, 0));
  child->SetColor(clRed);
  EXPECT_FALSE(child->ParentColor());
  form.SetColor(clAqua);
  EXPECT_EQ(child->Color(), clRed);
}

TEST_F(ControlsTest, PublishedPropertiesHaveDeclaredDefaults) {
  TForm form(nullptr);
  auto* c = new TWinControl(&form);
  const QMetaObject* mo = c->metaObject();
  auto declared = [](const QMetaObject* m, const char* name) {
    const int i = m->indexOfClassInfo(QByteArray("default:").append(name).constData());
    return i < 0 ? QString() : QString::fromLatin1(m->classInfo(i).value());
  };
  EXPECT_EQ(declared(mo, "Visible"), "True");
  EXPECT_EQ(declared(mo, "Align"), "alNone");
  EXPECT_EQ(declared(mo, "TabStop"), "False");
  // The form redeclares what differs for windows.
  EXPECT_EQ(declared(form.metaObject(), "Color"), "clBtnFace");
  EXPECT_EQ(declared(form.metaObject(), "Visible"), "False");
  EXPECT_EQ(form.Color(), clBtnFace);
  EXPECT_FALSE(form.Visible());

  // Enumerations are written and read by name; cursors as numbers.
  EXPECT_TRUE(c->setProperty("Align", QStringLiteral("alClient")));
  EXPECT_EQ(c->Align(), alClient);
  const QMetaProperty align = mo->property(mo->indexOfProperty("Align"));
  EXPECT_TRUE(align.isEnumType());
  EXPECT_STREQ(align.enumerator().valueToKey(align.read(c).toInt()), "alClient");
  EXPECT_TRUE(c->setProperty("Cursor", -21));
  EXPECT_EQ(c->Cursor(), -21);
  EXPECT_TRUE(form.setProperty("BorderIcons", QVariant::fromValue(TBorderIcons(biSystemMenu) | biMinimize)));
  EXPECT_EQ(form.BorderIcons(), TBorderIcons(biSystemMenu) | biMinimize);
  // The font is a nested object of the property tree.
  auto* font = c->property("Font").value<TFont*>();
  EXPECT_EQ(font, c->Font());
}

TEST_F(ControlsTest, TabOrderReadBeforeSiblingsExistIsFixedUpWhenLoaded) {
  TForm form(nullptr);
  std::vector<TWinControl*> controls;
  // As a form reader does: every control is loading while its properties are read.
  const int orders[] = {2, 0, 1};
  for (int order : orders) {
    auto* c = new TWinControl(&form);
    c->SetComponentStateFlag(csLoading, true);
    c->SetParent(&form);
    c->SetTabOrder(order);
    controls.push_back(c);
  }
  for (TWinControl* c : controls) c->Loaded();
  EXPECT_EQ(controls[0]->TabOrder(), 2);
  EXPECT_EQ(controls[1]->TabOrder(), 0);
  EXPECT_EQ(controls[2]->TabOrder(), 1);
  // Out-of-range orders put the control last; the others are renumbered.
  controls[1]->SetTabOrder(99);
  EXPECT_EQ(controls[1]->TabOrder(), 2);
  EXPECT_EQ(controls[2]->TabOrder(), 0);
  EXPECT_EQ(controls[0]->TabOrder(), 1);
}

}  // namespace

namespace {

TEST_F(ControlsTest, EventsBindByNameIncludingReferenceParameters) {
  THandlerForm form(nullptr);
  auto* edit = new TWinControl(&form);
  edit->SetName(QStringLiteral("Edit1"));
  // As a form description does: OnKeyDown = EditKeyDown, ...
  for (const char* property : {"OnClose", "OnKeyDown", "OnMouseDown"}) {
    QObject* target = QByteArray(property) == "OnClose" ? static_cast<QObject*>(&form) : edit;
    const QMetaProperty p = target->metaObject()->property(target->metaObject()->indexOfProperty(property));
    const TEventTypeInfo* info = FindEventType(p.metaType());
    ASSERT_NE(info, nullptr) << property;
    QVariant value = p.read(target);
    const QByteArray method = QByteArray(property) == "OnClose"     ? "FormClose"
                              : QByteArray(property) == "OnKeyDown" ? "EditKeyDown"
                                                                    : "EditMouseDown";
    ASSERT_TRUE(info->bind(value.data(), &form, method)) << property;
    ASSERT_TRUE(p.write(target, value));
  }
  TCloseAction action = caHide;
  form.OnClose()(&form, action);
  EXPECT_EQ(action, caNone);
  uint16_t key = 'A';
  edit->KeyDown(key, ssCtrl);
  EXPECT_EQ(key, 0);
  edit->Perform(WM_RBUTTONDOWN, MK_RBUTTON, MakePointParam(4, 9));
  EXPECT_EQ(form.last, QStringLiteral("Edit1 1 4,9"));
  EXPECT_EQ(edit->OnKeyDown().MethodName(), QByteArray("EditKeyDown"));
}

}  // namespace
