// The language element of the layout file that holds the names of key positions.
#pragma once

#include <string>

// "chinese", "japanese", "german", "russian", "itailian", "spanish", "portugal",
// "poland", "arab" by the locale's prefix (zh, ja, de, ru, it, es, pt, pl, ar), else
// "english".
const char* nv_language_element(const std::string& localeId);
// The user's locale identifier: LC_ALL, LC_MESSAGES or LANG, the first one set.
std::string nv_current_locale_id();
