#include "screens/alt_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcutEvent>

#include "screens/answer_box.h"

namespace tavrix::screens {

namespace {

// With a screen reader on, Qt's accessibility bridge on Linux (AT-SPI) holds
// each key press until the screen reader has seen it, and only then posts it
// again; a shortcut runs at once. So the Alt press of Alt+O can reach the
// Option menu that its own shortcut has opened meanwhile, and a menu closes
// at an Alt press: the menu would close as it opens. Seen with Qt 6.4 and
// Orca 43. The filter drops such a late Alt press, one that was pressed
// before the menu opened; an Alt pressed while the menu is open closes it as
// ever.
class AltKeys final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* receiver, QEvent* e) override {
    switch (e->type()) {
      case QEvent::ShortcutOverride:
        // Sent as a key is pressed, before any key press is held back; to
        // the focus widget and on to its parents, the same event each time.
        if (IsAlt(e)) altHeldBack_ = true;
        break;
      case QEvent::Shortcut:
        if (auto* bar = qobject_cast<QMenuBar*>(receiver))
          return OpenAvailableMenu(bar, *static_cast<QShortcutEvent*>(e));
        break;
      case QEvent::Show:
        if (auto* menu = qobject_cast<QMenu*>(receiver)) menu->setProperty(kLateAlt, altHeldBack_);
        break;
      case QEvent::KeyPress:
        // A key press reaches the widgets once any bridge has let it go.
        if (!receiver->isWidgetType()) break;
        if (IsAlt(e)) {
          altHeldBack_ = false;
          auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
          if (menu != nullptr && menu->property(kLateAlt).toBool()) {
            menu->setProperty(kLateAlt, false);
            e->accept();
            return true;
          }
        } else if ((static_cast<QKeyEvent*>(e)->modifiers() & Qt::AltModifier) && qobject_cast<AnswerBox*>(receiver)) {
          e->ignore();  // the answer box types nothing; the window behind may use it
          return true;
        }
        break;
      default: break;
    }
    return false;
  }

 private:
  static constexpr char kLateAlt[] = "tavrixLateAlt";

  static bool IsAlt(const QEvent* e) {
    const int key = static_cast<const QKeyEvent*>(e)->key();
    return key == Qt::Key_Alt || key == Qt::Key_AltGr || key == Qt::Key_Meta;
  }

  // An access key that belongs to a switched-off menu of the bar opens the
  // enabled menu with the same letter instead, and is handled; any other
  // goes to the menu bar as usual.
  static bool OpenAvailableMenu(QMenuBar* bar, const QShortcutEvent& e) {
    const auto sameKey = [&e](const QAction* a) { return QKeySequence::mnemonic(a->text()) == e.key(); };
    const QList<QAction*> actions = bar->actions();
    if (std::none_of(actions.begin(), actions.end(), [&](const QAction* a) { return !a->isEnabled() && sameKey(a); }))
      return false;
    for (QAction* on : actions) {
      if (!on->isEnabled() || !sameKey(on)) continue;
      bar->setActiveAction(on);
      if (QMenu* menu = on->menu(); menu != nullptr && !menu->actions().isEmpty())
        menu->setActiveAction(menu->actions().first());
      break;
    }
    return true;
  }

  bool altHeldBack_ = false;  // an Alt was pressed, and its key press has reached no widget yet
};

}  // namespace

void InstallAltKeys() {
  // One filter for the application's life: it goes with the application.
  static QPointer<AltKeys> filter;
  if (filter != nullptr || qApp == nullptr) return;
  filter = new AltKeys(qApp);
  qApp->installEventFilter(filter);
}

}  // namespace tavrix::screens
