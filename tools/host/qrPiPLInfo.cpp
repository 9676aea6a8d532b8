#include "qrPiPLInfo.h"

#include "qrHostError.h"

#include <cstdio>

namespace Quarn::Host {

namespace {
// More properties than any effect declares: a sign of a damaged table.
constexpr A_long kMaxProperties = 256;

// Reads the resource's little-endian words in order; throws once they run out.
class WordReader {
public:
    explicit WordReader(std::string_view bytes) : bytes_(bytes) { }

    A_u_long word()
    {
        const std::string_view four = take(4);
        A_u_long value = 0;
        for (int i = 3; i >= 0; --i)
            value = value << 8 | A_u_long(static_cast<unsigned char>(four[std::size_t(i)]));
        return value;
    }
    // `length` bytes and the padding that ends them on a whole word.
    std::string_view data(A_u_long length)
    {
        const std::string_view wanted = take(length);
        take((4 - length % 4) % 4);
        return wanted;
    }

private:
    std::string_view take(std::size_t count)
    {
        if (count > bytes_.size() - at_)
            throw HostError("property list resource is damaged");
        const std::string_view part = bytes_.substr(at_, count);
        at_ += count;
        return part;
    }

    std::string_view bytes_;
    std::size_t at_ = 0;
};

}  // namespace

PiPLInfo PiPLInfo::fromResource(std::string_view bytes)
{
    WordReader in(bytes);
    const A_u_long version = in.word();
    if (version != PF_PIPL_TABLE_VERSION)
        throw HostError("property list resource has unknown version " + std::to_string(version));
    const A_u_long count = in.word();
    if (count > A_u_long(kMaxProperties))
        throw HostError("property list resource is damaged");
    PiPLInfo info;
    for (A_u_long i = 0; i < count; ++i) {
        Property property;
        property.key = in.word();
        const A_u_long kind = in.word();
        const std::string_view data = in.data(in.word());
        property.isString = kind == PF_PIPL_RESOURCE_STRING;
        if (property.isString && !data.empty() && data.back() == '\0')
            property.text = std::string(data.substr(0, data.size() - 1));
        else if (kind == PF_PIPL_RESOURCE_WORD && data.size() == 4)
            property.word = WordReader(data).word();
        else
            throw HostError("property list resource has a damaged property " + fourCC(property.key));
        info.properties_.push_back(std::move(property));
    }
    return info;
}

PiPLInfo::PiPLInfo(const PF_PiPL& table)
{
    if (table.version != PF_PIPL_TABLE_VERSION)
        throw HostError("property list has unknown version " + std::to_string(table.version));
    if (table.count < 0 || table.count > kMaxProperties || (table.count > 0 && !table.properties))
        throw HostError("property list is damaged");
    for (A_long i = 0; i < table.count; ++i) {
        const PF_PiPLProperty& p = table.properties[i];
        Property property;
        property.key = p.key;
        property.isString = p.string_value != nullptr;
        if (property.isString)
            property.text = p.string_value;
        else
            property.word = p.long_value;
        properties_.push_back(std::move(property));
    }
}

const PiPLInfo::Property* PiPLInfo::find(A_u_long key) const
{
    for (const Property& p : properties_)
        if (p.key == key)
            return &p;
    return nullptr;
}

std::optional<A_u_long> PiPLInfo::word(A_u_long key) const
{
    const Property* p = find(key);
    if (!p || p->isString)
        return std::nullopt;
    return p->word;
}

std::optional<std::string> PiPLInfo::text(A_u_long key) const
{
    const Property* p = find(key);
    if (!p || !p->isString)
        return std::nullopt;
    return p->text;
}

std::string PiPLInfo::fourCC(A_u_long code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s += char((code >> shift) & 0xFF);
    return s;
}

std::string PiPLInfo::describe() const
{
    std::string out;
    for (const Property& p : properties_) {
        out += fourCC(p.key) + " = ";
        if (p.isString) {
            out += '"' + p.text + '"';
        } else {
            char hex[16];
            std::snprintf(hex, sizeof hex, "0x%08X", unsigned(p.word));
            // Not "'" + fourCC(...): GCC 12 warns (-Wrestrict, wrongly) on it.
            out += p.key == A_u_long(PF_PiPLKey_KIND) ? '\'' + fourCC(p.word) + '\'' : std::string(hex);
        }
        out += '\n';
    }
    return out;
}

}  // namespace Quarn::Host
