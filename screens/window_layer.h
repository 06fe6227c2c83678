// The window layer of the screen flow on Qt Widgets, and the quiz screen's
// view for the quiz engine.
//
// Every call into the engine goes through Run(), which redraws the windows
// from the records afterwards. Two kinds of desktop notices are translated:
//
// - Activation. A window's QEvent::WindowActivate is reported to
//   ScreenFlow::Activated as an event of its own (queued), so it always
//   comes after the handler that caused it. Message boxes are no screens and
//   are never reported; the flow tells real activations of the quiz screen
//   from a return after a message box.
// - Focus loss of an answer box. The engine's own focus moves (SetFocus) are
//   recorded here and the completion check runs once the key that caused
//   them has been handled by its box, whether or not the window is active
//   yet. Qt focus-outs by mouse or Tab within the quiz window are reported
//   too; those caused by message boxes, popups or other windows are not.
#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <optional>

#include "engine/flow.h"
#include "engine/quiz.h"
#include "runtime/runtime.h"
#include "screens/frm_about.h"
#include "screens/frm_math.h"
#include "screens/frm_start.h"

namespace tavrix::screens {

class QtWindowLayer final : public QObject, public WindowLayer, public QuizView, private QuizInput {
  Q_OBJECT

 public:
  // boxes shows the message boxes; the layer brings the windows up to date
  // with the records before each one.
  explicit QtWindowLayer(rt::MessageBoxes& boxes);
  ~QtWindowLayer() override;

  // The flow whose screens these windows are; nullptr detaches the layer and
  // destroys its windows.
  void Attach(ScreenFlow* flow);
  // The message boxes to give the engine.
  rt::MessageBoxes& Boxes() { return refreshingBoxes_; }
  // What ends the program; QCoreApplication::exit(0) unless replaced.
  void SetQuitHandler(std::function<void()> quit) { quit_ = std::move(quit); }

  frmStart* StartWindow() const { return start_; }
  frmMath* MathWindow() const { return math_; }
  frmAbout* AboutWindow() const { return about_; }

  // Redraws every window from the records.
  void Refresh();

  // WindowLayer
  void Create(Screen s) override;
  QuizView& QuizWindow() override { return *this; }
  void Show(Screen s) override;
  void Hide(Screen s) override;
  void Discard(Screen s) override;
  void Quit() override;

  // QuizView
  void SetFocus(std::int16_t row) override;
  void SetSelection(std::int16_t row, int start, int length) override;

 private:
  class RefreshingBoxes final : public rt::MessageBoxes {
   public:
    RefreshingBoxes(QtWindowLayer& layer, rt::MessageBoxes& inner) : layer_(layer), inner_(inner) {}
    std::int16_t MessageBox(const std::string& prompt, std::int16_t buttons, const std::string& title) override {
      layer_.Refresh();
      return inner_.MessageBox(prompt, buttons, title);
    }

   private:
    QtWindowLayer& layer_;
    rt::MessageBoxes& inner_;
  };

  // Runs an engine or flow call, then redraws; at the outermost level also
  // runs the completion checks the call's focus moves left pending.
  void Run(const std::function<void()>& call);
  void RunQuiz(const std::function<void(Quiz&)>& call);
  void FlushFocusLoss();
  void ReportActivation(Screen s);
  ScreenWindow* Window(Screen s) const;
  void Connect(ScreenWindow* w, Screen s);

  // QuizInput
  void AnswerKeyPress(std::int16_t row, std::int16_t code,
                      const std::function<void(std::int16_t)>& boxHandles) override;
  void AnswerFocusIn(std::int16_t row) override;
  void AnswerFocusOut(std::int16_t row, Qt::FocusReason reason) override;
  void AnswerTextChanged(std::int16_t row, const QString& text) override;

  RefreshingBoxes refreshingBoxes_;
  ScreenFlow* flow_ = nullptr;
  std::function<void()> quit_;
  QPointer<frmStart> start_;
  QPointer<frmMath> math_;
  QPointer<frmAbout> about_;

  int depth_ = 0;                          // engine calls under way
  bool redrawing_ = false;                 // Refresh() is writing the widgets
  bool flushing_ = false;                  // FlushFocusLoss() is running
  std::optional<std::int16_t> focusRow_;   // the row whose box has the quiz window's focus
  std::optional<std::int16_t> pendingLoss_;  // a box that lost the focus, not yet checked
};

// The game: the windows and the screen flow over them.
class Game {
 public:
  Game(rt::Random& random, rt::MessageBoxes& boxes);
  ~Game();
  Game(const Game&) = delete;
  Game& operator=(const Game&) = delete;

  void Start() { flow_.Start(); }
  ScreenFlow& flow() { return flow_; }
  QtWindowLayer& layer() { return layer_; }

 private:
  QtWindowLayer layer_;
  ScreenFlow flow_;
};

}  // namespace tavrix::screens
