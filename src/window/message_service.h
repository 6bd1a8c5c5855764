// The message box the window and the calculation run show to the person.
// Behind an interface so that tests can record the messages instead of
// opening a box that would wait for a click.
#ifndef QUILANE_WINDOW_MESSAGE_SERVICE_H_
#define QUILANE_WINDOW_MESSAGE_SERVICE_H_

#include <string>

class QWidget;

namespace quilane {

class MessageService {
 public:
  virtual ~MessageService() = default;

  // Shows `text` (UTF-8) to the person and returns when it has been
  // acknowledged. Never fails.
  virtual void Show(const std::string& text) = 0;
  // Asks `text` (UTF-8) as a question with Yes and No, No the default (Enter
  // and Escape give No); true for Yes. Returns when answered.
  virtual bool Ask(const std::string& text) = 0;
};

// The program's own message box: a plain modal dialog (title and close
// button only) with one OK button (Yes and No for a question), the
// application's display name as its title, centred over `parent` (may be
// null). Show() returns when the box is closed.
class BoxMessageService : public MessageService {
 public:
  explicit BoxMessageService(QWidget* parent = nullptr) : parent_(parent) {}

  void SetParent(QWidget* parent) { parent_ = parent; }
  void Show(const std::string& text) override;
  bool Ask(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace quilane

#endif  // QUILANE_WINDOW_MESSAGE_SERVICE_H_
