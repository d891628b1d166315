#include "platform/Text.h"

#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {

// One iconv conversion; invalid or incomplete input is replaced by '?' and skipped.
std::string convert(const char* to, const char* from, std::string_view in, size_t badSkip)
{
    std::string out;
    if (in.empty())
        return out;
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return std::string(in);
    out.resize(in.size() * 4 + 16);
    char* inp = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outp = out.data();
    size_t outLeft = out.size();
    while (inLeft > 0) {
        size_t r = iconv(cd, &inp, &inLeft, &outp, &outLeft);
        if (r != size_t(-1))
            break;
        if (errno == E2BIG) {
            size_t used = size_t(outp - out.data());
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outLeft = out.size() - used;
            continue;
        }
        // EILSEQ or EINVAL: replace one character and go on.
        if (outLeft == 0) {
            size_t used = size_t(outp - out.data());
            out.resize(out.size() * 2);
            outp = out.data() + used;
            outLeft = out.size() - used;
        }
        *outp++ = '?';
        --outLeft;
        size_t skip = badSkip;
        if (badSkip == 0) {
            // UTF-8 input: skip the whole bad sequence's lead and continuation bytes.
            skip = 1;
            while (skip < inLeft && (uint8_t(inp[skip]) & 0xC0) == 0x80)
                ++skip;
        } else if (isSjisLead(uint8_t(*inp)) && inLeft >= 2) {
            skip = 2;
        } else {
            skip = 1;
        }
        if (skip > inLeft)
            skip = inLeft;
        inp += skip;
        inLeft -= skip;
    }
    out.resize(size_t(outp - out.data()));
    iconv_close(cd);
    return out;
}

} // namespace

std::string sjisToUtf8(std::string_view sjis)
{
    return convert("UTF-8", "CP932", sjis, 1);
}

std::string utf8ToSjis(std::string_view utf8)
{
    return convert("CP932", "UTF-8", utf8, 0);
}

size_t countSjisChars(std::string_view sjis)
{
    size_t n = 0;
    for (size_t i = 0; i < sjis.size(); ++i) {
        if (isSjisLead(uint8_t(sjis[i])) && i + 1 < sjis.size())
            ++i;
        ++n;
    }
    return n;
}

} // namespace platform
