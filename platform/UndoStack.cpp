#include "platform/UndoStack.h"

UndoStack::UndoStack(QObject *parent)
    : QObject(parent)
{ }

void UndoStack::push(Entry &&entry)
{
    if (!entry.undo)
        return;
    m_entries.push_back(std::move(entry));
    if (m_entries.size() > kMaxEntries)
        m_entries.erase(m_entries.begin(), m_entries.end() - kMaxEntries);
    emit changed();
}

void UndoStack::undo()
{
    if (m_entries.empty())
        return;
    // Taken off first, so an undo function that pushes (or undoes) finds a consistent stack.
    Entry entry = std::move(m_entries.back());
    m_entries.pop_back();
    entry.undo();
    emit changed();
    emit undone(entry.summary);
}
