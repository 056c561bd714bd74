// ScopedEnv: one environment variable set or unset for one scope (Linux tests).
#pragma once
#include <stdlib.h>

#include <optional>
#include <string>

class ScopedEnv {
public:
    // nullopt unsets the variable.
    ScopedEnv(const char* name, std::optional<std::string> value) : m_name(name)
    {
        if (const char* old = getenv(name))
            m_old = old;
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv()
    {
        if (m_old)
            setenv(m_name, m_old->c_str(), 1);
        else
            unsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* m_name;
    std::optional<std::string> m_old;
};
