// The Start/Stop button: one Start gives one drag. The first counted release picks up
// (the user's own press becomes the held button), the second drops. The start path stays inside
// the click, handling events, until the drag has ended; a second click on the button runs
// nested inside that and takes the stop path.
#pragma once
#include <string>

#include "autodrag/modMouse.h"
#include "runtime/Dialogs.h"
#include "runtime/EventPump.h"
#include "runtime/NumberedSteps.h"
#include "runtime/Texts.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"

class AutoDrag {
 public:
  // What the controller works with: the button whose caption is the on/off state, the
  // status line, the window it sends to the tray and brings back, the mouse, the pump it
  // waits in, the boxes it speaks through with their title, the words it says, and the
  // window's in-the-tray flag.
  struct Parts {
    rt::PushButton& startStop;
    rt::Label& status;
    rt::Form& window;
    modMouse& mouse;
    rt::EventPump& pump;
    rt::Dialogs& dialogs;
    const std::wstring& messageTitle;
    const rt::Texts& texts;
    bool& hiddenInTray;
  };

  explicit AutoDrag(Parts parts);
  AutoDrag(const AutoDrag&) = delete;
  AutoDrag& operator=(const AutoDrag&) = delete;
  ~AutoDrag();

  // The click on the Start/Stop button, its steps numbered for the error report. While a
  // latch holds the button, it gives up instead: the item goes back.
  void StartOrStop(rt::NumberedSteps& steps);

  bool IsOn() const { return p_.startStop.Caption() != p_.texts(rt::TextId::StartAutodrag); }
  // Asked to stop and winding down: what comes next is a Start again.
  bool Ending() const { return IsOn() && stopRequested_; }
  // The button is held for the user in this drag (as far as the loop has seen).
  bool ButtonHeld() const { return buttonHeld_; }

 private:
  void Start(rt::NumberedSteps& s);
  void Stop(rt::NumberedSteps& s);
  // Tells the user why auto-drag ended early, when something outside our reach ended it.
  void SayWhatEndedIt();
  // A latched hold has no Start loop to watch it: giving up and trouble come here.
  void AttendToLatchedHold();

  Parts p_;
  bool stopRequested_ = false;
  bool buttonHeld_ = false;
  // A Start asked for while the last one was ending: it follows once that one has ended.
  bool startAgain_ = false;
};
