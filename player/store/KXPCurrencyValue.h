#pragma once

// One score figure of a world (distance, points or coins): the running game's value, the best and
// the total, and an owned chain of checkpoint copies. The first copy keeps the session value at the
// last checkpoint so that a restart can go back to it; only that first node is ever stored.

#include <cstdint>
#include <memory>
#include <utility>

template <typename T> struct KXPCurrencyValue {
    // A checkpoint copy: the first value is the committed session value; the other two are kept
    // and stored unchanged.
    struct Backup {
        T values[3] = {T(), T(), T()};
        std::unique_ptr<Backup> next;

        Backup() = default;
        Backup(const Backup& other) { *this = other; }
        Backup& operator=(const Backup& other) {
            if (this == &other) {
                return *this;
            }
            copyValues(other);
            // Copied node by node: a chain is never walked recursively.
            Backup* target = this;
            for (const Backup* source = other.next.get(); source != nullptr; source = source->next.get()) {
                target->next.reset(new Backup());
                target = target->next.get();
                target->copyValues(*source);
            }
            target->next.reset();
            return *this;
        }
        ~Backup() {
            std::unique_ptr<Backup> rest = std::move(next);
            while (rest) {
                rest = std::move(rest->next);
            }
        }

    private:
        void copyValues(const Backup& other) {
            for (int i = 0; i < 3; ++i) {
                values[i] = other.values[i];
            }
        }
    };

    T session = T();
    T best = T();
    T total = T();

    KXPCurrencyValue() = default;
    KXPCurrencyValue(const KXPCurrencyValue& other) { *this = other; }
    KXPCurrencyValue& operator=(const KXPCurrencyValue& other) {
        if (this != &other) {
            session = other.session;
            best = other.best;
            total = other.total;
            m_backup.reset(other.m_backup ? new Backup(*other.m_backup) : nullptr);
        }
        return *this;
    }
    KXPCurrencyValue(KXPCurrencyValue&&) = default;
    KXPCurrencyValue& operator=(KXPCurrencyValue&&) = default;

    // The first checkpoint copy, or null.
    Backup* backup() const { return m_backup.get(); }
    // The first checkpoint copy, made with zeros when there is none.
    Backup& ensureBackup() {
        if (!m_backup) {
            m_backup.reset(new Backup());
        }
        return *m_backup;
    }
    void dropBackup() { m_backup.reset(); }

    // Keeps the session value in the checkpoint copy (after a checkpoint, a spend, a new game).
    void commit() { ensureBackup().values[0] = session; }
    // Back to the committed session value; 0 when nothing was committed.
    void revert() { session = m_backup ? m_backup->values[0] : T(); }

private:
    std::unique_ptr<Backup> m_backup;
};

using KXPScoreDistance = KXPCurrencyValue<float>;
using KXPScoreCount = KXPCurrencyValue<int32_t>;
