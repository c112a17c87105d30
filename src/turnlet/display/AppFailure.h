#pragma once

#include <string>

#include "platform/Errors.h"

namespace turnlet {

// The program's own failure: one user-facing sentence, shown unchanged.
class AppFailure : public Error {
 public:
  explicit AppFailure(std::string message) : text(std::move(message)) {}
  const std::string& message() const { return text; }
  std::string localizedDescription() const override { return text; }

 private:
  std::string text;
};

}  // namespace turnlet
