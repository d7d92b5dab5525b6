#include "base/text.h"

size_t TextLength(const char* text)
{
    size_t n = 0;
    while (text[n]) ++n;
    return n;
}

bool CopyTextPart(char* dst, size_t capacity, const char* src, size_t count)
{
    if (capacity == 0) return false;
    size_t i = 0;
    for (; i < count && src[i]; ++i) {
        if (i + 1 >= capacity) {
            dst[i] = '\0';
            return false;
        }
        dst[i] = src[i];
    }
    dst[i] = '\0';
    return true;
}

bool CopyText(char* dst, size_t capacity, const char* src)
{
    return CopyTextPart(dst, capacity, src, (size_t)-1);
}

bool AppendText(char* dst, size_t capacity, const char* src)
{
    size_t used = 0;
    while (used < capacity && dst[used]) ++used;
    if (used >= capacity) {
        // Not terminated within its capacity: terminate it where it must end.
        if (capacity) dst[capacity - 1] = '\0';
        return false;
    }
    return CopyText(dst + used, capacity - used, src);
}

namespace {

struct Sink {
    char* dst;
    size_t capacity;
    size_t used;
    bool cut;
    void Put(char c)
    {
        if (used + 1 < capacity) dst[used++] = c;
        else cut = true;
    }
};

void PutNumber(Sink& s, unsigned long long value, bool negative, unsigned base, bool upper,
               int width, bool zero)
{
    char digits[24];
    int n = 0;
    const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
    do {
        digits[n++] = set[value % base];
        value /= base;
    } while (value && n < (int)sizeof digits);
    int len = n + (negative ? 1 : 0);
    if (!zero)
        for (; width > len; --width) s.Put(' ');
    if (negative) s.Put('-');
    if (zero)
        for (; width > len; --width) s.Put('0');
    while (n) s.Put(digits[--n]);
}

} // namespace

bool FormatTextV(char* dst, size_t capacity, const char* format, va_list args)
{
    if (capacity == 0) return false;
    Sink s = {dst, capacity, 0, false};
    for (const char* f = format; *f; ++f) {
        if (*f != '%') {
            s.Put(*f);
            continue;
        }
        ++f;
        bool zero = false;
        int width = 0;
        if (*f == '0') {
            zero = true;
            ++f;
        }
        while (*f >= '0' && *f <= '9') width = width * 10 + (*f++ - '0');
        switch (*f) {
        case 's': {
            const char* t = va_arg(args, const char*);
            if (!t) t = "";
            int len = (int)TextLength(t);
            for (; width > len; --width) s.Put(' ');
            while (*t) s.Put(*t++);
            break;
        }
        case 'c': s.Put((char)va_arg(args, int)); break;
        case 'd': {
            long long v = va_arg(args, int);
            bool neg = v < 0;
            PutNumber(s, neg ? (unsigned long long)(-v) : (unsigned long long)v, neg, 10, false,
                      width, zero);
            break;
        }
        case 'u': PutNumber(s, va_arg(args, unsigned), false, 10, false, width, zero); break;
        case 'x': PutNumber(s, va_arg(args, unsigned), false, 16, false, width, zero); break;
        case 'X': PutNumber(s, va_arg(args, unsigned), false, 16, true, width, zero); break;
        case '%': s.Put('%'); break;
        case '\0': --f; break; // a lone '%' at the end
        default: s.Put('%'); s.Put(*f); break;
        }
    }
    dst[s.used] = '\0';
    return !s.cut;
}

bool FormatText(char* dst, size_t capacity, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    bool ok = FormatTextV(dst, capacity, format, args);
    va_end(args);
    return ok;
}

bool InsertArgument(char* dst, size_t capacity, const char* pattern, const char* argument)
{
    if (capacity == 0) return false;
    Sink s = {dst, capacity, 0, false};
    bool inserted = false;
    for (const char* p = pattern; *p; ++p) {
        if (!inserted && p[0] == '%' && p[1] == 's') {
            for (const char* a = argument; *a; ++a) s.Put(*a);
            inserted = true;
            ++p;
            continue;
        }
        s.Put(*p);
    }
    dst[s.used] = '\0';
    return !s.cut;
}

static char FoldAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? (char)(c - 'A' + 'a') : c;
}

bool EqualNoCaseAscii(const char* a, const char* b, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) return false;
        if (!a[i]) return true;
    }
    return true;
}

bool EqualTextNoCaseAscii(const char* a, const char* b)
{
    return EqualNoCaseAscii(a, b, (size_t)-1);
}
