#pragma once

// Application-wide attributes that must be set before the application object exists.
class CStyle
{
public:
    static void SetCustomStyle();
};
