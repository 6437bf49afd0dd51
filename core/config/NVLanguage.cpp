#include "core/config/NVLanguage.h"

#include <cstdlib>

const char* nv_language_element(const std::string& localeId)
{
    static const struct {
        const char* prefix;
        const char* element;
    } kLanguages[] = {
        {"zh", "chinese"}, {"ja", "japanese"}, {"de", "german"},   {"ru", "russian"}, {"it", "itailian"},
        {"es", "spanish"}, {"pt", "portugal"}, {"pl", "poland"},   {"ar", "arab"},
    };
    for (const auto& l : kLanguages)
        if (localeId.starts_with(l.prefix))
            return l.element;
    return "english";
}

std::string nv_current_locale_id()
{
    for (const char* var : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v)
            return v;
    }
    return {};
}
