#pragma once
// Sets ICU's default locale for as long as it lives and puts the previous one
// back.
#include <unicode/locid.h>

class DefaultLocale {
public:
    explicit DefaultLocale(const char* name) : saved_(icu::Locale::getDefault()) {
        set(icu::Locale(name));
    }
    ~DefaultLocale() { set(saved_); }
    DefaultLocale(const DefaultLocale&) = delete;
    DefaultLocale& operator=(const DefaultLocale&) = delete;

private:
    static void set(const icu::Locale& locale) {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(locale, status);
    }
    icu::Locale saved_;
};
