// The HTTP texts, built on first use.

#include "protocols/http/HTTPTexts.h"

const s_HTTPTexts& GetHTTPTexts() {
    static const s_HTTPTexts texts;
    return texts;
}
