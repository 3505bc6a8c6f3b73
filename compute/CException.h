#pragma once

#include <exception>
#include <string>

namespace KVL
{
// Error of the field computations. The type parameter only tags the domain that
// throws. what() is "context : message" followed by a line feed.
template <typename Domain> class CException : public std::exception
{
public:
    CException(std::string message, std::string context)
        : m_Message(std::move(message)), m_Context(std::move(context)),
          m_What(m_Context + " : " + m_Message + "\n")
    {
    }
    ~CException() override = default;

    const char* what() const noexcept override { return m_What.c_str(); }
    const std::string& Message() const { return m_Message; }
    const std::string& Context() const { return m_Context; }

private:
    std::string m_Message;
    std::string m_Context;
    std::string m_What;
};
} // namespace KVL
