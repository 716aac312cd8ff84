#include "player/store/KXPScoreTable.h"

#include "player/store/KXPSceneKey.h"
#include "player/store/KXPTableText.h"

#include <algorithm>
#include <limits>
#include <sstream>

namespace {

int32_t clampToInt32(int64_t value) {
    return static_cast<int32_t>(std::max<int64_t>(
        std::numeric_limits<int32_t>::min(), std::min<int64_t>(std::numeric_limits<int32_t>::max(), value)));
}

template <typename T> void writeValue(std::ostream& out, const KXPCurrencyValue<T>& value) {
    out << value.best << ' ' << value.total;
    if (const typename KXPCurrencyValue<T>::Backup* backup = value.backup()) {
        out << " 1 " << backup->values[0] << ' ' << backup->values[1] << ' ' << backup->values[2];
    } else {
        out << " 0";
    }
}

// A failed read leaves 0 in the field it was reading and the stream failed, so that the fields
// after it keep their starting values.
template <typename T> void readVersionedValue(std::istream& in, KXPCurrencyValue<T>& value) {
    value.session = T();
    in >> value.best >> value.total;
    bool hasBackup = false;
    in >> hasBackup;
    if (hasBackup) {
        typename KXPCurrencyValue<T>::Backup& backup = value.ensureBackup();
        in >> backup.values[0] >> backup.values[1] >> backup.values[2];
    } else {
        value.dropBackup();
    }
}

template <typename T> void readLegacyValue(std::istream& in, KXPCurrencyValue<T>& value) {
    value.session = T();
    in >> value.best >> value.total;
}

template <typename T> void mergeSession(KXPCurrencyValue<T>& value, T session) {
    value.session = session;
    value.best = std::max(value.best, session);
    value.total = std::max(value.total, session);
}

void mergeSessions(KXPScoreRecord& record, const KXPScoreMap& old, const std::string& name) {
    auto it = old.find(name);
    if (it == old.end()) {
        mergeSession(record.distance, 0.0f);
        mergeSession(record.points, 0);
        mergeSession(record.coins, 0);
        return;
    }
    mergeSession(record.distance, it->second.distance.session);
    mergeSession(record.points, it->second.points.session);
    mergeSession(record.coins, it->second.coins.session);
}

std::istringstream valueStream(const std::string& values) {
    std::istringstream in(values);
    kx::prepareTableStream(in);
    return in;
}

std::string recordName(const std::string& textName) {
    return textName == kGlobalScoreName ? std::string() : textName;
}

void parseVersioned(const std::string& text, bool fresh) {
    KXPScoreMap& table = scoreTable();
    KXPScoreMap old;
    if (!fresh) {
        old = table;
    }
    table.clear();
    for (const std::string& item : kx::splitTableItems(text)) {
        kx::TableItem parts = kx::splitTableItem(item);
        if (parts.name.empty()) {
            continue;
        }
        const std::string name = recordName(parts.name);
        if (table.count(name) != 0) {
            continue;
        }
        KXPScoreRecord record;
        std::istringstream in = valueStream(parts.values);
        readVersionedValue(in, record.distance);
        readVersionedValue(in, record.points);
        readVersionedValue(in, record.coins);
        mergeSessions(record, old, name);
        table.emplace(name, std::move(record));
    }
}

void parseLegacy(const std::string& text, bool fresh) {
    KXPScoreMap& table = scoreTable();
    KXPScoreMap old;
    if (!fresh) {
        old = table;
    }
    const KXPScoreMap kept = table;
    table.clear();
    for (const std::string& item : kx::splitTableItems(text)) {
        kx::TableItem parts = kx::splitTableItem(item);
        if (parts.name.empty()) {
            continue;
        }
        // Six numbers have five blanks between them; more means the current form.
        if (std::count(parts.values.begin(), parts.values.end(), ' ') > 5) {
            table = kept;
            parseVersioned(text, fresh);
            return;
        }
        const std::string name = recordName(parts.name);
        if (table.count(name) != 0) {
            continue;
        }
        KXPScoreRecord record;
        std::istringstream in = valueStream(parts.values);
        readLegacyValue(in, record.distance);
        readLegacyValue(in, record.points);
        readLegacyValue(in, record.coins);
        mergeSessions(record, old, name);
        table.emplace(name, std::move(record));
    }
}

template <typename T> void resetValue(KXPCurrencyValue<T>& value, bool full) {
    value.session = T();
    if (full) {
        value.best = T();
        value.total = T();
    }
    value.commit();
}

} // namespace

KXPScoreMap& scoreTable() {
    // Made on first use and never destroyed: objects released late at exit may still read it.
    static KXPScoreMap* table = new KXPScoreMap();
    return *table;
}

KXPScoreRecord& worldScores(const std::string& worldKey) {
    KXPScoreMap& table = scoreTable();
    return table[worldKey];
}

KXPScoreRecord& currentWorldScores() {
    return worldScores(runningSceneKey());
}

float totalDistance() {
    KXPScoreMap& table = scoreTable();
    double sum = 0.0;
    for (const auto& entry : table) {
        if (!entry.first.empty()) {
            sum += entry.second.distance.session;
        }
    }
    return static_cast<float>(sum);
}

int32_t totalPoints() {
    KXPScoreMap& table = scoreTable();
    int64_t sum = 0;
    for (const auto& entry : table) {
        if (!entry.first.empty()) {
            sum += entry.second.points.session;
        }
    }
    return clampToInt32(sum);
}

int32_t totalCoins() {
    KXPScoreMap& table = scoreTable();
    int64_t sum = 0;
    for (const auto& entry : table) {
        if (!entry.first.empty()) {
            sum += entry.second.coins.session;
        }
    }
    return clampToInt32(sum);
}

void resetScores(bool distance, bool points, bool coins, bool full) {
    KXPScoreMap& table = scoreTable();
    if (!distance && !points && !coins) {
        return;
    }
    for (auto& entry : table) {
        if (distance) {
            resetValue(entry.second.distance, full);
        }
        if (points) {
            resetValue(entry.second.points, full);
        }
        if (coins) {
            resetValue(entry.second.coins, full);
        }
    }
}

void clearScores() {
    KXPScoreMap& table = scoreTable();
    table.clear();
}

void parseScores(const std::string& versionText, const std::string& text, bool fresh) {
    if (!versionText.empty()) {
        parseVersioned(text, fresh);
    } else {
        parseLegacy(text, fresh);
    }
}

std::string serializeScores() {
    KXPScoreMap& table = scoreTable();
    std::ostringstream out;
    kx::prepareTableStream(out);
    bool first = true;
    for (const auto& entry : table) {
        if (!first) {
            out << ';';
        }
        first = false;
        out << (entry.first.empty() ? std::string(kGlobalScoreName) : kx::escapeTableName(entry.first))
            << ':';
        writeValue(out, entry.second.distance);
        out << ' ';
        writeValue(out, entry.second.points);
        out << ' ';
        writeValue(out, entry.second.coins);
    }
    return out.str();
}
