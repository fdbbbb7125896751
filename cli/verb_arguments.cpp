#include "cli/verb_arguments.h"

#include <algorithm>

VerbArguments::VerbArguments(std::vector<std::string> args)
    : m_args(std::move(args))
{
    const auto separator = std::find(m_args.begin(), m_args.end(), "--");
    m_operandsFrom = static_cast<std::size_t>(separator - m_args.begin());
    if (separator != m_args.end())
        m_args.erase(separator);
}

bool VerbArguments::IsOption(std::size_t i) const
{
    return i < m_operandsFrom && i < m_args.size() && m_args[i].starts_with('-');
}

bool WantsHelp(const VerbArguments& args)
{
    for (std::size_t i = 0; i < args.size(); ++i)
        if (args.IsOption(i) && (args[i] == "--help" || args[i] == "-h"))
            return true;
    return false;
}
