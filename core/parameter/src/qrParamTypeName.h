#pragma once
// Defines Class::typeName() returning one shared string per class.
#include <string>

#define QUARN_PARAM_TYPE_NAME(Class, text)                                                                   \
    const std::string& Class::typeName() const                                                               \
    {                                                                                                        \
        static const std::string name(text);                                                                 \
        return name;                                                                                         \
    }
