// The few operations the program asks of an embedded HTML viewer; the windows supply the real one.
#pragma once

#include <string>

class TWebViewer {
public:
  virtual ~TWebViewer() = default;
  // Shows a local file path or an address, asynchronously.
  virtual void Navigate(const std::string& url) = 0;
  virtual void GoBack() = 0;
  virtual void GoForward() = 0;
  virtual void Refresh() = 0;
  virtual void Stop() = 0;
  [[nodiscard]] virtual std::string LocationURL() const = 0;
};
