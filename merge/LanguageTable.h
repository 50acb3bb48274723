#pragma once
// English names of ISO 639 language codes, for the track labels of a clip.

#include <QString>

class LanguageTable
{
public:
    // Two-letter codes match ISO 639-1 exactly; three-letter codes match 639-2/T, then 639-2/B ("und",
    // in any case, is "Undefined"). Null when nothing matches or the length is neither 2 nor 3.
    static const char *nameForCode(const char *code);

    // The language part of a label: empty for an empty code, else the name, else the code itself.
    static QString languagePart(const char *code);

    static int rowCount();
};
