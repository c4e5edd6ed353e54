#include "runtime/Failure.h"

namespace rt {

std::wstring DescribeException(const std::exception& e) {
  if (auto* failure = dynamic_cast<const Failure*>(&e)) return failure->Description();
  std::wstring text;
  for (const char* p = e.what(); *p != '\0'; ++p) text.push_back(static_cast<unsigned char>(*p));
  return text;
}

}  // namespace rt
