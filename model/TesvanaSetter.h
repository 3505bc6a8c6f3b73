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

// The same for an output a page draws: the value is stored at once, its NameChanged
// goes out through the class's display pacer (m_Pacer, see CDisplayPacer).
#define TESVANA_PACED_SETTER(Class, Type, Name)                                                              \
    void Class::set##Name(Type value)                                                                        \
    {                                                                                                        \
        if (m_##Name == value)                                                                               \
            return;                                                                                          \
        m_##Name = value;                                                                                    \
        m_Pacer.Defer(&m_##Name, [this] { emit Name##Changed(m_##Name); });                                  \
    }
