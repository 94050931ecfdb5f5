// Test double of the message seam: records every message and answers from a queue.
#pragma once

#include "MessageSeam.h"

#include <deque>
#include <string>
#include <vector>

struct TRecordedMessage {
  std::string Caption;
  std::string Text;
  TMsgIcon Icon;
  TMsgButtons Buttons;
};

class TMessageRecorder final : public TMessageSink {
public:
  TMessageRecorder() { Previous = SetMessageSink(this); }
  ~TMessageRecorder() override { SetMessageSink(Previous); }
  TMessageRecorder(const TMessageRecorder&) = delete;
  TMessageRecorder& operator=(const TMessageRecorder&) = delete;

  // Answers given in order; when the queue is empty the recorder answers Ok or Yes.
  std::deque<TMsgAnswer> Answers;
  std::vector<TRecordedMessage> Messages;

  TMsgAnswer Show(const std::string& caption, const std::string& text, TMsgIcon icon, TMsgButtons buttons) override {
    Messages.push_back({caption, text, icon, buttons});
    if (!Answers.empty()) {
      TMsgAnswer a = Answers.front();
      Answers.pop_front();
      return a;
    }
    return (buttons & mbYes) ? TMsgAnswer::Yes : TMsgAnswer::Ok;
  }

private:
  TMessageSink* Previous = nullptr;
};
