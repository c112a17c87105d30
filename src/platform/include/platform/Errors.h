#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace turnlet {

// Every failure the program shows derives from Error; a status line shows
// localizedDescription() unchanged.
class Error : public std::exception {
 public:
  virtual std::string localizedDescription() const = 0;
  const char* what() const noexcept override;

 protected:
  mutable std::string whatCache;
};

// An error reported by the platform, passed on unchanged: a domain, a code and the sentence the
// platform wrote for it.
class PlatformError : public Error {
 public:
  PlatformError(std::string domain, std::int64_t code, std::string description)
      : domainName(std::move(domain)), errorCode(code), descriptionText(std::move(description)) {}

  const std::string& domain() const { return domainName; }
  std::int64_t code() const { return errorCode; }
  std::string localizedDescription() const override { return descriptionText; }

 private:
  std::string domainName;
  std::int64_t errorCode;
  std::string descriptionText;
};

// Thrown into a task that was cancelled while it waited.
class CancellationError : public Error {
 public:
  std::string localizedDescription() const override;
};

}  // namespace turnlet
