// The guide for students: what each page of the results window shows, how the classroom method
// computes, what the terms of the check page mean, and one worked example. One HTML file per
// language, compiled into the program (results/help/guide.<language>.html), in the simple markup
// a QTextBrowser shows: headings with ids to link to, paragraphs, lists and tables.
#pragma once

#include <QString>

// The guide's HTML in language ("ru", or a locale name such as "ru_RU"); the Russian guide for
// a language that has none.
QString GuideHtml(const QString &language);
