#include "runtime/Language.h"

namespace {
TLanguage Language = TLanguage::Russian;
TTranslator Translator = nullptr;
} // namespace

void SetTextLanguage(TLanguage language, TTranslator translator) {
    Language = language;
    Translator = translator;
}

TLanguage TextLanguage() {
    return Language;
}

char DecimalSeparator() {
    return Language == TLanguage::English ? '.' : ',';
}

std::string Tr(const char *context, const char *source) {
    return Translator ? Translator(context, source) : std::string(source);
}
