#pragma once

// Registers the model's types with the meta-type system, so that they can be
// signal arguments across threads and property values in QML. Safe to call
// more than once.
class CMetaTypes
{
public:
    static void Register();
};
