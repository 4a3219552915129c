#include "vexasupport.h"

#include <cstring>

namespace {

struct Grouping
{
    bool enabled;
    char open;
    char close;
};

// Skips separators and takes the next token; the position moves past it even
// when it does not fit (then 0 and an empty token).
int takeToken(const char **position, const char *separators, Grouping grouping, char *token,
              int size)
{
    if (!position || !*position || !token || size < 1)
        return 0;
    if (!separators)
        separators = "";
    const char *p = *position;
    while (*p && charinstr(*p, separators))
        ++p;
    const char *start = p;
    bool inside = false;
    for (; *p; ++p) {
        if (grouping.enabled && !inside && *p == grouping.open) {
            inside = true;
            continue;
        }
        if (grouping.enabled && inside && *p == grouping.close) {
            inside = false;
            continue;
        }
        if (!inside && charinstr(*p, separators))
            break;
    }
    *position = p;
    const size_t length = size_t(p - start);
    if (length == 0 || length >= size_t(size)) {
        token[0] = '\0';
        return 0;
    }
    memcpy(token, start, length);
    token[length] = '\0';
    return 1;
}

} // namespace

void list_init(vexa_list *list, const char *text, const char *separators, int maxlen)
{
    if (!list)
        return;
    list->position = text;
    strncpys(list->separators, separators ? separators : "", int(sizeof list->separators));
    list->maxlen = maxlen;
}

int list_next(vexa_list *list, char *token)
{
    if (!list)
        return 0;
    return takeToken(&list->position, list->separators, Grouping{false, 0, 0}, token, list->maxlen);
}

int strenum(const char **position, const char *separators, char *token, int size)
{
    return takeToken(position, separators, Grouping{false, 0, 0}, token, size);
}

int strenum2(const char **position, const char *separators, char open, char close,
             char *token, int size)
{
    return takeToken(position, separators, Grouping{true, open, close}, token, size);
}
