// Starting another program, not waited for.
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
};

}  // namespace rt
