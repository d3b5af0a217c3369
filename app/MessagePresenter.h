#pragma once
// How the desktop shows a message of the core and waits until the user has read it. The
// program shows the modal "CIS Converter Message " window; tests put in a presenter that
// answers at once and keeps what it was shown.

#include <string_view>

#include "services/Reporter.h"

class QWidget;

namespace tarvelo::app {

class MessagePresenter {
 public:
  virtual ~MessagePresenter() = default;
  // Shows `text` (line feeds start new lines) and returns when the message has been answered.
  virtual void Present(MessageKind kind, std::string_view text) = 0;
};

// The modal message window, over `parent`; OK and Cancel both end it.
class MessageWindowPresenter : public MessagePresenter {
 public:
  explicit MessageWindowPresenter(QWidget* parent = nullptr) : parent_(parent) {}
  void SetParent(QWidget* parent) { parent_ = parent; }
  void Present(MessageKind kind, std::string_view text) override;

 private:
  QWidget* parent_;
};

// Each message as one line on standard error ("tarvelo: warning: ..."), answered at once: for
// runs that no one watches (a screenshot).
class StandardErrorPresenter : public MessagePresenter {
 public:
  void Present(MessageKind kind, std::string_view text) override;
};

}  // namespace tarvelo::app
