// The prompt: our stand-in for message boxes.
//
// A request carries the text, the buttons, an icon and the default answer. The
// default prompt is for non-interactive use: it writes the text to standard
// error and answers the default. Hosts and tests install their own.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kpl::platform {

enum class PromptButtons { kOk, kYesNo };
enum class PromptIcon { kNone, kExclamation, kQuestion, kInformation };
enum class PromptAnswer { kOk, kYes, kNo };

struct PromptRequest {
  std::string text;
  PromptButtons buttons = PromptButtons::kOk;
  PromptIcon icon = PromptIcon::kNone;
  PromptAnswer defaultAnswer = PromptAnswer::kOk;
};

class Prompt {
 public:
  virtual ~Prompt() = default;
  virtual PromptAnswer Ask(const PromptRequest& request) = 0;
  static std::shared_ptr<Prompt> MakeDefault();
};

// Writes "<text>" and the answer given to standard error.
class StderrPrompt final : public Prompt {
 public:
  PromptAnswer Ask(const PromptRequest& request) override;
};

// Records every request; answers from a queue, then with the default.
class RecordingPrompt final : public Prompt {
 public:
  PromptAnswer Ask(const PromptRequest& request) override;
  void QueueAnswer(PromptAnswer answer);
  [[nodiscard]] std::vector<PromptRequest> Requests() const;

 private:
  mutable std::mutex mutex_;
  std::vector<PromptRequest> requests_;
  std::deque<PromptAnswer> answers_;
};

// Asks the installed prompt.
PromptAnswer Ask(const PromptRequest& request);

}  // namespace kpl::platform
