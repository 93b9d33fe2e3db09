#include "stats/LineCutter.h"

#include "text/Utf8.h"

namespace rovex {

void LineCutter::keep(std::string_view piece)
{
    if (m_overlong)
        return;
    if (m_pending.size() + piece.size() > maxLineBytes) {
        m_overlong = true;
        m_pending.clear();
        m_pending.shrink_to_fit();
        return;
    }
    m_pending.append(piece);
}

bool LineCutter::isReadable(std::string_view line) noexcept { return line.size() <= maxLineBytes && isValidUtf8(line); }

} // namespace rovex
