// The language of the program's texts and numbers, for the layers that do not use Qt. Their
// texts are written in Russian (UTF-8) and resolved through Tr(), which asks the translator
// that the Qt layer installs at start; without one, the Russian text stands, so every output
// of these layers stays as it was where no language is chosen.
#pragma once

#include <string>

enum class TLanguage { Russian, English };

// Turns a Russian text (UTF-8) of a context into the chosen language (UTF-8); may return the
// text itself.
using TTranslator = std::string (*)(const char *context, const char *source);

// The language of number texts and the translator of texts; Russian and none by default.
void SetTextLanguage(TLanguage language, TTranslator translator);
TLanguage TextLanguage();

// The decimal separator of the language: a comma in Russian, a point in English.
char DecimalSeparator();

// The text in the chosen language (UTF-8). The context groups the texts in the catalogue.
std::string Tr(const char *context, const char *source);

// Marks a text for the catalogue where it is stored before Tr() resolves it.
#define TR_NOOP(context, source) source
