// The plug-in's property list, copied out of the table it exports.
#pragma once

#include <AE_PiPL.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace Quarn::Host {

class PiPLInfo {
public:
    struct Property {
        A_u_long key = 0;
        bool isString = false;
        std::string text;  // string properties
        A_u_long word = 0;  // word properties
    };

    PiPLInfo() = default;  // an empty list
    // Throws HostError for a table of an unknown version or shape.
    explicit PiPLInfo(const PF_PiPL& table);
    // The list as a "PiPL" resource holds it (AE_PiPL.h); throws HostError
    // for bytes of an unknown version or a list that runs past their end.
    static PiPLInfo fromResource(std::string_view bytes);

    const std::vector<Property>& properties() const { return properties_; }
    std::optional<A_u_long> word(A_u_long key) const;
    std::optional<std::string> text(A_u_long key) const;

    std::string name() const { return text(PF_PiPLKey_NAME).value_or(""); }
    std::string category() const { return text(PF_PiPLKey_CATEGORY).value_or(""); }
    std::string matchName() const { return text(PF_PiPLKey_AE_MATCH_NAME).value_or(""); }
    bool isEffect() const { return word(PF_PiPLKey_KIND) == A_u_long(PF_PiPLKind_EFFECT); }

    // "kind" for PF_PiPLKey_KIND: the four characters of a code.
    static std::string fourCC(A_u_long code);
    // One line per property, "key = value", for listings.
    std::string describe() const;

private:
    const Property* find(A_u_long key) const;

    std::vector<Property> properties_;
};

}  // namespace Quarn::Host
