#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <vector>

// The last few edits, newest last, each with a function that reverts it. There is no redo. No
// window pushes onto it yet.
class UndoStack : public QObject
{
    Q_OBJECT

public:
    struct Entry
    {
        QString summary; // already translated, shown as "Undid: <summary>"
        std::function<void()> undo;
    };

    static constexpr int kMaxEntries = 20;

    explicit UndoStack(QObject *parent = nullptr);

    // Entries without an undo function are dropped without a signal.
    void push(Entry &&entry);
    // Takes the newest entry off the stack, then reverts it. Does nothing when empty.
    void undo();
    int count() const { return static_cast<int>(m_entries.size()); }

signals:
    void changed();
    void undone(const QString &summary);

private:
    std::vector<Entry> m_entries; // oldest first
};
