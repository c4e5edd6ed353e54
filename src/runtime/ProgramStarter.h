// Starting another program, or opening a web page in the user's browser; neither is waited for.
#pragma once
#include <string>

namespace rt {

namespace winstyle {
constexpr int kMinimizedFocus = 2;
}

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts commandLine with the given window style; failures throw Failure.
  virtual void Start(const std::wstring& commandLine, int windowStyle) = 0;
  // Opens address with whatever the user's system opens such addresses with; failures
  // throw Failure. No program is named, so none can be found in the wrong folder.
  virtual void OpenWebPage(const std::wstring& address, int windowStyle) = 0;
};

}  // namespace rt
