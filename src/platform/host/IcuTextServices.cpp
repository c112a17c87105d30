#include "host/IcuTextServices.h"

#include <unicode/coll.h>
#include <unicode/stsearch.h>
#include <unicode/tblcoll.h>
#include <unicode/unistr.h>

#include <cstdint>
#include <string_view>

#include "platform/Errors.h"

namespace turnlet::host {

struct IcuTextServices::Collation {
  std::unique_ptr<icu::RuleBasedCollator> collator;
};

namespace {

icu::Locale chosenLocale(const std::string& name) {
  if (!name.empty()) return icu::Locale::createCanonical(name.c_str());
  const icu::Locale user = icu::Locale::getDefault();
  // Without a language set, ICU reports en_US_POSIX, whose rules put every capital before every
  // small letter: no language's idea of alike letters.
  if (std::string_view(user.getVariant()) == "POSIX") return icu::Locale::getRoot();
  return user;
}

icu::UnicodeString utf16(std::string_view text) {
  // Malformed sequences become U+FFFD.
  return icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<std::int32_t>(text.size())));
}

}  // namespace

IcuTextServices::IcuTextServices(const std::string& locale) : collation(std::make_unique<Collation>()) {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(chosenLocale(locale), status));
  auto* rules = dynamic_cast<icu::RuleBasedCollator*>(collator.get());
  if (U_FAILURE(status) || !rules)
    throw PlatformError("ICU", status, std::string("no collation: ") + u_errorName(status));
  rules->setStrength(icu::Collator::SECONDARY);
  collator.release();
  collation->collator.reset(rules);
}

IcuTextServices::~IcuTextServices() = default;

bool IcuTextServices::localizedCaseInsensitiveContains(std::string_view text, std::string_view pattern) const {
  if (text.empty() || pattern.empty()) return false;
  if (text.size() > INT32_MAX || pattern.size() > INT32_MAX) return false;
  UErrorCode status = U_ZERO_ERROR;
  icu::StringSearch search(utf16(pattern), utf16(text), collation->collator.get(), nullptr, status);
  if (U_FAILURE(status)) return false;
  const std::int32_t found = search.first(status);
  return U_SUCCESS(status) && found != USEARCH_DONE;
}

}  // namespace turnlet::host
