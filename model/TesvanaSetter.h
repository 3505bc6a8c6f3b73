#pragma once

// Defines Class::setName(value): stores the value and emits NameChanged only
// when it differs from the stored one (the rule for every writable property).
#define TESVANA_SETTER(Class, Type, Name)                                                                    \
    void Class::set##Name(Type value)                                                                        \
    {                                                                                                        \
        if (m_##Name == value)                                                                               \
            return;                                                                                          \
        m_##Name = value;                                                                                    \
        emit Name##Changed(m_##Name);                                                                        \
    }
