#include "platform/Errors.h"

namespace turnlet {

const char* Error::what() const noexcept {
  try {
    whatCache = localizedDescription();
  } catch (...) {
    return "error";
  }
  return whatCache.c_str();
}

std::string CancellationError::localizedDescription() const {
  return "The operation couldn\u2019t be completed. (Swift.CancellationError error 1.)";
}

}  // namespace turnlet
