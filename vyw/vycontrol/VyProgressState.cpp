#include "vycontrol/VyProgressState.h"

#include <algorithm>

void VyProgressState::SetText(const VyString& text)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (text == m_state.text)
        return;
    m_state.text = text;
    ++m_state.changes;
}

void VyProgressState::SetValue(int value)
{
    std::lock_guard<std::mutex> guard(m_lock);
    value = std::min(value, 100);
    if (value <= m_state.value)
        return;
    m_state.value = value;
    ++m_state.changes;
}

void VyProgressState::Fail()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_state.bFailed)
        return;
    m_state.bFailed = true;
    ++m_state.changes;
}

VyProgressState::Snapshot VyProgressState::Read() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_state;
}
