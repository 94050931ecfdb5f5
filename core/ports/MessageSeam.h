// The one seam for modal message boxes: every message of the program goes through ShowMessage.
#pragma once

#include <cstdint>
#include <string>

enum class TMsgIcon : std::uint8_t { None, Information, Warning, Error, Question };

// Buttons are a bit set; the answer names the button that was pressed.
enum TMsgButton : std::uint8_t {
  mbOK = 1,
  mbCancel = 2,
  mbYes = 4,
  mbNo = 8,
};
using TMsgButtons = std::uint8_t;

enum class TMsgAnswer : std::uint8_t { Ok, Cancel, Yes, No };

// Implemented by the application over QMessageBox and by tests with a recorder.
class TMessageSink {
public:
  virtual ~TMessageSink() = default;
  virtual TMsgAnswer Show(const std::string& caption, const std::string& text, TMsgIcon icon, TMsgButtons buttons) = 0;
};

// Installs the sink used from now on; nullptr restores the default, which writes the message
// to standard error and answers with the first of Ok, Yes, Cancel, No offered. Returns the previous sink.
TMessageSink* SetMessageSink(TMessageSink* sink);

TMsgAnswer ShowMessage(const std::string& caption, const std::string& text, TMsgIcon icon, TMsgButtons buttons = mbOK);
