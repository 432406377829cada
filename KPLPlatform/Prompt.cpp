#include "KPLPlatform/Prompt.h"

#include <cstdio>

#include "KPLPlatform/Installed.h"

namespace kpl::platform {

std::shared_ptr<Prompt> Prompt::MakeDefault() { return std::make_shared<StderrPrompt>(); }

PromptAnswer StderrPrompt::Ask(const PromptRequest& request) {
  static constexpr const char* kAnswerNames[] = {"OK", "Yes", "No"};
  std::fprintf(stderr, "%s\n[answered %s]\n", request.text.c_str(),
               kAnswerNames[static_cast<int>(request.defaultAnswer)]);
  std::fflush(stderr);
  return request.defaultAnswer;
}

PromptAnswer RecordingPrompt::Ask(const PromptRequest& request) {
  std::lock_guard lock(mutex_);
  requests_.push_back(request);
  if (answers_.empty()) return request.defaultAnswer;
  PromptAnswer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void RecordingPrompt::QueueAnswer(PromptAnswer answer) {
  std::lock_guard lock(mutex_);
  answers_.push_back(answer);
}

std::vector<PromptRequest> RecordingPrompt::Requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

PromptAnswer Ask(const PromptRequest& request) { return Installed<Prompt>::Get()->Ask(request); }

}  // namespace kpl::platform
