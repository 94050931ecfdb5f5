// Dispatch of modal messages to the installed sink.
#include "MessageSeam.h"

#include <cstdio>

namespace {

class TStderrSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string& caption, const std::string& text, TMsgIcon, TMsgButtons buttons) override {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    if (buttons & mbOK) return TMsgAnswer::Ok;
    if (buttons & mbYes) return TMsgAnswer::Yes;
    if (buttons & mbCancel) return TMsgAnswer::Cancel;
    return TMsgAnswer::No;
  }
};

TStderrSink DefaultSink;
TMessageSink* CurrentSink = &DefaultSink;

} // namespace

TMessageSink* SetMessageSink(TMessageSink* sink) {
  TMessageSink* previous = CurrentSink == &DefaultSink ? nullptr : CurrentSink;
  CurrentSink = sink ? sink : &DefaultSink;
  return previous;
}

TMsgAnswer ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon, TMsgButtons buttons) {
  return CurrentSink->Show(caption, text, icon, buttons);
}
