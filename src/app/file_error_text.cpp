#include "app/file_error_text.h"

#include <clocale>
#include <cstring>
#include <locale.h>
#include <string.h>

namespace zeb::app {

namespace {

// The locales are made once and kept for the whole run: strerror_l needs them alive.
locale_t EnglishMessages() {
    static const locale_t c = newlocale(LC_MESSAGES_MASK, "C", locale_t{});
    return c;
}

locale_t GermanMessages() {
    static const locale_t german = [] {
        // The text comes in the locale's character set, so only UTF-8 locales will do.
        for (const char* name : {"de_DE.UTF-8", "de_AT.UTF-8", "de_CH.UTF-8", "de_LU.UTF-8",
                                 "de_BE.UTF-8", "de_IT.UTF-8", "de_LI.UTF-8"}) {
            if (locale_t l = newlocale(LC_MESSAGES_MASK | LC_CTYPE_MASK, name, locale_t{}))
                return l;
        }
        return locale_t{};
    }();
    return german;
}

std::string English(int errorNumber) {
    if (locale_t c = EnglishMessages())
        return strerror_l(errorNumber, c);
    return std::strerror(errorNumber);
}

} // namespace

SystemReason ReasonOf(int errorNumber) {
    return {errorNumber, English(errorNumber)};
}

std::optional<std::string> ReasonIn(int errorNumber, Language language) {
    if (errorNumber == 0)
        return std::nullopt;
    const std::string english = English(errorNumber);
    if (language == Language::English)
        return english;
    locale_t german = GermanMessages();
    if (!german)
        return std::nullopt;
    std::string text = strerror_l(errorNumber, german);
    // Without the C library's German catalogue (or with LANGUAGE asking for English) the text
    // stays English even in a German locale.
    if (text == english)
        return std::nullopt;
    return text;
}

std::string FileErrorMessage(const FileError& error, FileAccess access, Language language) {
    const bool write = access == FileAccess::Write;
    if (std::optional<std::string> reason = ReasonIn(error.errorNumber(), language))
        return error.fileName() +
               std::string(Text(write ? "msg.cannotWrite" : "msg.cannotRead", language)) + *reason;
    return error.fileName() +
           std::string(
               Text(write ? "msg.cannotWriteSentence" : "msg.cannotReadSentence", language)) +
           '\n' + error.reason();
}

} // namespace zeb::app
