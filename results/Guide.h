// The guide for students: what each page of the results window shows, how the classroom method
// computes, what the terms of the check page mean, and one worked example. One HTML file per
// language, compiled into the program (results/help/guide.<language>.html), in the simple markup
// a QTextBrowser shows: headings with ids to link to, paragraphs, lists and tables.
#pragma once

#include <QString>

// The guide's HTML in language ("ru", "en", or a locale or UI language name such as "ru_RU.UTF-8"
// or "en-US"): Russian for Russian and where no language is set (empty, "C", "POSIX"), English
// for every other language.
QString GuideHtml(const QString &language);
