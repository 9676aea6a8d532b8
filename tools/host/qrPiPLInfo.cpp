#include "qrPiPLInfo.h"

#include "qrHostError.h"

#include <cstdio>

namespace Quarn::Host {

namespace {
// More properties than any effect declares: a sign of a damaged table.
constexpr A_long kMaxProperties = 256;
}  // namespace

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
