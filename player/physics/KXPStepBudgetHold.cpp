// The step budget's holding out and giving back: which bodies go, in what order, what each takes
// with it, and when each comes back.

#include "player/physics/KXPStepBudget.h"

#include "model/KXDebugLog.h"
#include "player/base/KXPTrace.h"
#include "player/physics/KXPBodyOwner.h"
#include "player/physics/KXPHoldOrder.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

std::string nameOf(b2Body* body, unsigned int* id) {
    const KXPBodyOwner* owner = KXPBodyOwner::of(body);
    if (owner == nullptr) {
        *id = 0;
        return std::string();
    }
    *id = owner->physicsModelId();
    return owner->physicsName();
}

// The body whose list Box2D walks when it finds the contact's pair again: the one whose box has the
// larger id.
const b2Body* walksAt(const b2Contact& contact) {
    const int32 idA = KXPBroadPhaseView::proxyIdOf(*contact.GetFixtureA(), contact.GetChildIndexA());
    const int32 idB = KXPBroadPhaseView::proxyIdOf(*contact.GetFixtureB(), contact.GetChildIndexB());
    return idA > idB ? contact.GetFixtureA()->GetBody() : contact.GetFixtureB()->GetBody();
}

// What a body's own contacts add to each step: each updated, solved while touching.
KXPStepWork contactsOf(const b2Body& body) {
    KXPStepWork work;
    for (const b2ContactEdge* edge = body.GetContactList(); edge != nullptr; edge = edge->next) {
        ++work.contacts;
        if (edge->contact->IsTouching()) {
            const bool sensed =
                edge->contact->GetFixtureA()->IsSensor() || edge->contact->GetFixtureB()->IsSensor();
            ++(sensed ? work.sensing : work.touching);
        }
    }
    return work;
}

int32 boxesOf(const b2Body& body) {
    int32 boxes = 0;
    for (const b2Fixture* fixture = body.GetFixtureList(); fixture != nullptr; fixture = fixture->GetNext()) {
        boxes += fixture->GetShape()->GetChildCount();
    }
    return boxes;
}

// A body's share of a pairing, told by its crowd's average (`adds` found there), taking `pairs`
// pairs with it: its boxes' look-ups go with it whatever it pairs with.
KXPStepWork crowdShare(const KXPStepWork& adds, int64_t pairs) {
    KXPStepWork share = adds.pairs > 0 ? adds.scaled(pairs, adds.pairs) : adds;
    share.pairs = pairs;
    share.queries = adds.queries;
    share.grown = 0;
    return share;
}

} // namespace

// What the bodies of the step the budget acts on add to it: told once each, and within kActLooks.
struct KXPStepBudget::Shares {
    Shares(KXPStepCensus& census, float dt) : census(census), dt(dt), censusLooks(census.looks()) {}

    KXPStepCensus& census;
    float dt;
    // Each body's share of the first pairing (the census counted every box): its boxes' counts, the
    // boxes they overlap, whether one of them is of a crowd.
    struct First {
        Work adds;
        int64_t met = 0;
        // Its boxes' entries in the move buffer: each finds their pairs again.
        int64_t entries = 0;
        bool crowded = false;
    };
    std::unordered_map<const b2Body*, First> first;
    // The contacts of each body's list, counted once.
    std::unordered_map<const b2Body*, int64_t> lists;
    // The bodies whose share is a crowd's (a box of theirs met more than kCrowdBoxes, and its counts
    // are the crowd's average): the boxes they overlap in each pairing, all of them and those not
    // yet held once holding began (before, each is told by all it overlaps).
    struct Crowd {
        int64_t firstMet = 0;
        int64_t entries = 0;
        int64_t carriedMet = 0;
    };
    std::unordered_map<const b2Body*, Crowd> crowds;
    int64_t crowd = 0;
    int64_t crowdLeft = 0;
    bool holding = false;
    // The crowd's pairs as its boxes found them, and as the share below tells them held one by one
    // in order: each share is taken in that proportion, so that holding the whole crowd takes what
    // the count foresaw of it.
    int64_t found = 0;
    int64_t told = 0;

    // The pairs a body of the crowd takes with it where `left` of the crowd's bodies are not yet
    // held: those with boxes outside its crowd whatever is held, those within it (at most as many as
    // the crowd's other bodies, for each of its entries) as the crowd goes: a crowd at one point
    // pairs as the square of its bodies, so each body held takes as many as the crowd still holds.
    int64_t pairsOf(int64_t met, int64_t entries, int64_t left) const {
        const int64_t within = std::min(met, kxcount::mul(std::max<int64_t>(crowd - 1, 0), entries));
        const int64_t pairs =
            kxcount::add(met - within, kxcount::scale(within, left, std::max<int64_t>(crowd, 1)));
        return told > 0 ? kxcount::scale(pairs, found, told) : pairs;
    }
    // Its first pairing's and last pairing's, held where `left` are not.
    std::pair<int64_t, int64_t> pairsOf(const b2Body* body, int64_t left) const {
        const auto part = crowds.find(body);
        if (part == crowds.end()) {
            return {0, 0};
        }
        return {pairsOf(part->second.firstMet, part->second.entries, left),
                pairsOf(part->second.carriedMet, 1, left)};
    }
    // What telling the shares looked at.
    int64_t looks = 0;
    const int64_t censusLooks;

    bool spent() const { return kxcount::add(looks, census.looks() - censusLooks) >= kActLooks; }
};

void KXPStepBudget::sayHeldOut(b2Body* body, const Work& adds, bool heldOut) {
    unsigned int id = 0;
    const std::string name = nameOf(body, &id);
    kxTrace("bodies", "bodies %s name=%s id=%u contacts=%lld pairs=%lld", heldOut ? "held-out" : "given-back",
            name.c_str(), id, static_cast<long long>(adds.contacts), static_cast<long long>(adds.pairs));
}

KXPStepBudget::Work KXPStepBudget::addsOf(b2Body* body, Shares& shares, Work* crowdPart) {
    const KXPBroadPhaseView& view = shares.census.view();
    // Past its looks a body is told by its share of the first pairing alone.
    const bool told = !shares.spent();
    Work adds = told ? contactsOf(*body) : Work();
    shares.looks = kxcount::add(shares.looks, adds.contacts + 1);
    adds.moving = body->GetType() != b2_staticBody ? 1 : 0;
    // The joints of a body taken out are not solved.
    for (const b2JointEdge* edge = body->GetJointList(); edge != nullptr; edge = edge->next) {
        ++adds.joints;
    }
    // Priced in the world of the whole it is taken from: otherwise the whole's far price would count
    // as work no body can take away, and a pile's bodies would stay.
    adds.reach = m_predicted.reach;
    Shares::Crowd part;
    bool carriedCrowd = false;
    // The last pairing, where its boxes leave their margins: found again with what they overlap.
    if (told && body->GetType() != b2_staticBody && leavesMargins(*body, view, shares.dt)) {
        if (body->GetType() == b2_dynamicBody && adds.contacts > 0) {
            // Its contacts tell what it overlaps; each pair walks half the list of the body whose
            // box came later (each list counted once).
            adds.pairs = adds.contacts;
            for (const b2ContactEdge* edge = body->GetContactList(); edge != nullptr; edge = edge->next) {
                const b2Body* walked = walksAt(*edge->contact);
                auto found = shares.lists.find(walked);
                if (found == shares.lists.end()) {
                    found = shares.lists.emplace(walked, contactsOf(*walked).contacts).first;
                    shares.looks = kxcount::add(shares.looks, found->second);
                }
                adds.walks = kxcount::add(adds.walks, found->second / 2);
            }
        } else {
            // A kinematic body pairs without contacts: its boxes are looked up, as far as a crowd's;
            // one of a crowd takes the last sample's average of a body carried.
            int64_t met = 0;
            for (const b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr;
                 fixture = fixture->GetNext()) {
                for (int32 child = 0; child < fixture->GetShape()->GetChildCount(); ++child) {
                    const int32 proxyId = KXPBroadPhaseView::proxyIdOf(*fixture, child);
                    if (proxyId != b2BroadPhase::e_nullProxy) {
                        const int64_t boxMet = shares.census.overlaps(proxyId, kCrowdBoxes);
                        carriedCrowd = carriedCrowd || boxMet > kCrowdBoxes;
                        met = kxcount::add(met, boxMet);
                    }
                }
            }
            if (carriedCrowd) {
                part.carriedMet = m_carriedMet;
            } else {
                adds.pairs = kxcount::add(adds.pairs, met);
            }
        }
    }
    // Its boxes' share of the first pairing.
    const auto first = shares.first.find(body);
    const bool firstCrowd = first != shares.first.end() && first->second.crowded;
    if (firstCrowd) {
        part.firstMet = first->second.met;
        part.entries = first->second.entries;
    } else if (first != shares.first.end()) {
        adds.add(first->second.adds);
    }
    const Record* record = find(body);
    if (record != nullptr && record->rayStep == m_step) {
        adds.rays = record->rays;
    }
    // A body of a crowd: what it takes goes down with the crowd held before it.
    if (firstCrowd || carriedCrowd) {
        if (!shares.holding) {
            shares.crowds[body] = part;
        }
    }
    Work crowd = firstCrowd || carriedCrowd ? crowdPartOf(body, shares) : Work();
    crowd.reach = adds.reach;
    adds.add(crowd);
    if (crowdPart != nullptr) {
        *crowdPart = crowd;
    }
    return adds;
}

KXPStepBudget::Work KXPStepBudget::crowdPartOf(const b2Body* body, Shares& shares) const {
    Work crowd;
    const auto part = shares.crowds.find(body);
    if (part == shares.crowds.end()) {
        return crowd;
    }
    const std::pair<int64_t, int64_t> pairs =
        shares.holding ? shares.pairsOf(body, shares.crowdLeft)
                       : std::make_pair(part->second.firstMet, part->second.carriedMet);
    if (part->second.firstMet > 0) {
        crowd.add(crowdShare(shares.first.at(body).adds, pairs.first));
    }
    if (part->second.carriedMet > 0) {
        crowd.add(crowdShare(m_carriedBody, pairs.second));
    }
    crowd.reach = m_predicted.reach;
    return crowd;
}

bool KXPStepBudget::stayed(const b2Body& body, const Work& adds, bool pastBudget) const {
    if (pastBudget) {
        return false;
    }
    const auto found = m_records.find(&body);
    if (found == m_records.end() || !found->second.returned) {
        return false;
    }
    // Its list may have grown by the bodies that came back after it, and by no other.
    const Record& record = found->second;
    const int64_t since = static_cast<int64_t>(m_returns - record.returnedAt);
    return adds.contacts <= kxcount::add(record.returnedContacts, since);
}

bool KXPStepBudget::passesLimits() const {
    return m_predicted.pairs > kPairLimit ||
           kxcount::add(m_predicted.contacts, m_predicted.made) > static_cast<int64_t>(kWorldContacts);
}

int KXPStepBudget::holdOut(b2World& world, KXPStepCensus& census, const Said& said, float dt,
                           bool pastBudget) {
    // Bodies whose new pairs passed the world's contacts inside the last step go first.
    std::vector<b2Body*> flagged;
    for (size_t place = 0; place < m_flagged.places(); ++place) {
        if (b2Body* body = m_flagged.at(place)) {
            flagged.push_back(body);
            recordOf(body).flagged = false;
        }
    }
    m_flagged.clear();
    // Looked up for every body below: thousands may be flagged where a crowd passed the world's
    // contacts.
    std::sort(flagged.begin(), flagged.end(), std::less<b2Body*>());
    Shares shares(census, dt);
    // The pool's boxes (moved by the game among what they paired with) counted box by box, as the
    // entering ones were: each body's share is told, and the pairing is the count's, not the
    // sample's.
    Work pooled;
    const Work counted =
        census.countPool(kFirstLooks, kCrowdBoxes, kCrowdLooks, static_cast<uint32_t>(m_step), &pooled);
    m_predicted.remove(pooled);
    m_predicted.add(counted);
    m_first.remove(pooled);
    m_first.add(counted);
    m_first.grown = census.pastRoom(m_first.pairs);
    m_predicted.grown = m_first.grown;
    m_predicted = reachingMade(m_predicted);
    shares.first.reserve(census.pairedBoxes().size());
    // Each body's share of the first pairing, from the census's count of every box.
    for (const int32 proxyId : census.pairedBoxes()) {
        const KXPStepCensus::Box* box = census.pairingOf(proxyId);
        // A box left for the average tells nothing of its own body; one that pairs with nothing
        // gives its body nothing to take away.
        if (box == nullptr || box->unlooked || (box->pairs == 0 && box->met == 0)) {
            continue;
        }
        Shares::First& first = shares.first[box->body];
        first.adds.add(KXPStepCensus::pairingAdds(*box));
        // Each entry of a box finds its pairs again.
        first.met = kxcount::add(first.met, kxcount::mul(box->met, box->entries));
        first.entries += box->entries;
        first.crowded = first.crowded || box->crowded;
    }
    // The bodies that may go: the moving ones, and the still ones whose boxes pair in this step.
    std::vector<KXPHoldOrder::Candidate> candidates;
    // What each adds but its crowd's part, as told (at its slot).
    std::vector<Work> own;
    std::unordered_set<const b2Body*> considered;
    const auto consider = [&](b2Body* body) {
        if (!body->IsEnabled() || !considered.insert(body).second) {
            return;
        }
        const Rank rank = rankOf(body);
        if (rank == Rank::never) {
            return;
        }
        const bool flaggedBody =
            std::binary_search(flagged.begin(), flagged.end(), body, std::less<b2Body*>());
        Work crowdPart;
        const Work adds = addsOf(body, shares, &crowdPart);
        const bool crowded = crowdPart.pairs > 0;
        // A body that touches and pairs with nothing adds nothing the budget can take away.
        if (!flaggedBody && adds.contacts == 0 && adds.pairs == 0 && adds.made == 0 && adds.rays == 0) {
            return;
        }
        const Record* record = find(body);
        KXPHoldOrder::Candidate candidate;
        candidate.slot = own.size();
        own.push_back(adds);
        own.back().remove(crowdPart);
        candidate.body = body;
        candidate.tier = KXPHoldOrder::tierOf(*body, rank == Rank::last, flaggedBody);
        candidate.serial = record != nullptr ? record->serial : 0;
        candidate.cost = adds.cost();
        candidate.crowdCost = crowded ? crowdPart.cost() : 0;
        candidate.crowded = crowded;
        candidate.stays = !flaggedBody && stayed(*body, adds, pastBudget);
        candidates.push_back(candidate);
        shares.crowd += crowded ? 1 : 0;
    };
    for (b2Body* body : m_movers) {
        consider(body);
    }
    for (const int32 proxyId : census.pairedBoxes()) {
        const b2FixtureProxy* proxy = census.view().proxy(proxyId);
        if (proxy != nullptr && proxy->fixture->GetBody()->GetType() == b2_staticBody &&
            shares.first.count(proxy->fixture->GetBody()) > 0) {
            consider(proxy->fixture->GetBody());
        }
    }
    shares.crowdLeft = shares.crowd;
    m_looks = kxcount::add(m_looks, kxcount::add(shares.looks, census.looks() - shares.censusLooks));
    KXPHoldOrder::sort(candidates);
    const size_t keptSolid = KXPHoldOrder::keptSolid(candidates);
    // The crowd held one by one in order takes what its count foresaw of it.
    int64_t left = shares.crowd;
    int64_t found = 0;
    int64_t told = 0;
    for (const KXPHoldOrder::Candidate& candidate : candidates) {
        if (candidate.crowded) {
            const std::pair<int64_t, int64_t> pairs = shares.pairsOf(candidate.body, left--);
            told = kxcount::add(told, kxcount::add(pairs.first, pairs.second));
            const Shares::Crowd& part = shares.crowds.at(candidate.body);
            found = kxcount::add(found, part.firstMet > 0 ? shares.first.at(candidate.body).adds.pairs : 0);
            found = kxcount::add(found, part.carriedMet > 0 ? m_carriedBody.pairs : 0);
        }
    }
    shares.found = found;
    shares.told = told;
    shares.holding = true;
    const auto firstPairsOf = [&](const b2Body* body) {
        const auto found = shares.first.find(body);
        return found != shares.first.end() ? found->second.adds.pairs : int64_t{0};
    };
    int held = 0;
    b2Body* firstHeld = nullptr;
    const Work foreseen = m_predicted;
    // The dynamic bodies first; the still ones only where the step stays past the budget with those
    // held. Within each, bodies go while what the ones that can go add passes the room (or the step
    // passes what Box2D holds): the work no body of the tier can take (still bodies pairing among
    // themselves, bodies given back into a crowd that has not grown) stays whatever is held.
    std::vector<int64_t> estimates(candidates.size(), 0);
    for (const bool still : {false, true}) {
        if (still &&
            !(pastBudget && (kxcount::add(m_frameWork, m_predicted.cost()) > kMaxWork || passesLimits()))) {
            break;
        }
        // What holding every body of the tier would take: a crowd's share of each goes down with the
        // bodies of it held before.
        int64_t theirs = 0;
        int64_t theirFirstPairs = 0;
        left = shares.crowdLeft;
        // What each body of the tier adds, as told before any of it goes.
        std::fill(estimates.begin(), estimates.end(), 0);
        for (size_t index = 0; index < candidates.size(); ++index) {
            const KXPHoldOrder::Candidate& candidate = candidates[index];
            if (KXPHoldOrder::pastTheTier(candidate.tier) == still && !candidate.stays &&
                index != keptSolid) {
                int64_t cost = candidate.cost;
                if (candidate.crowded) {
                    // Its crowd's part, as it will be when its turn comes.
                    const Shares::Crowd& part = shares.crowds.at(candidate.body);
                    const std::pair<int64_t, int64_t> pairs = shares.pairsOf(candidate.body, left--);
                    const int64_t full = kxcount::add(part.firstMet, part.carriedMet);
                    cost = kxcount::add(kxcount::sub(cost, candidate.crowdCost),
                                        kxcount::scale(candidate.crowdCost,
                                                       kxcount::add(pairs.first, pairs.second),
                                                       std::max<int64_t>(full, 1)));
                }
                estimates[index] = cost;
                theirs = kxcount::add(theirs, cost);
                theirFirstPairs = kxcount::add(theirFirstPairs, firstPairsOf(candidate.body));
            }
        }
        // The pair buffer's growth goes with their first pairs, as far as those reach.
        theirs = kxcount::add(
            theirs, kxcount::mul(std::min(m_predicted.grown, theirFirstPairs), KXPStepWork::kGrownCost));
        const int64_t stays = kxcount::sub(m_predicted.cost(), theirs);
        // What the bodies of the tier not held yet add, as told above: the characters left stay once
        // they add no more than kSpareWork.
        int64_t remaining =
            std::accumulate(estimates.begin(), estimates.end(), int64_t{0},
                            [](int64_t sum, int64_t cost) { return kxcount::add(sum, cost); });
        for (size_t index = 0; index < candidates.size(); ++index) {
            const KXPHoldOrder::Candidate& candidate = candidates[index];
            if (KXPHoldOrder::pastTheTier(candidate.tier) != still || candidate.stays || index == keptSolid) {
                continue;
            }
            const bool flaggedBody = candidate.tier == KXPHoldOrder::Tier::flagged;
            // Past Box2D's limits a character goes only from a crowd: one alone pairs with a few boxes.
            const bool character = candidate.tier == KXPHoldOrder::Tier::character;
            const bool pastRoom =
                kxcount::sub(m_predicted.cost(), stays) > kRoomWork && (!character || remaining > kSpareWork);
            const bool pastLimits = passesLimits() && (!character || candidate.crowded);
            if (!flaggedBody && !pastRoom && !pastLimits) {
                if (!passesLimits()) {
                    break;
                }
                continue;
            }
            remaining = kxcount::sub(remaining, estimates[index]);
            // What it adds now: the contacts it shared with bodies held before it went with them, and
            // a crowd's pairs with the bodies of it held before. One that touched nothing adds what
            // it did but its crowd's part.
            Work adds = own[candidate.slot];
            if (adds.contacts > 0 || adds.rays > 0) {
                adds = addsOf(candidate.body, shares, nullptr);
            } else if (candidate.crowded) {
                adds.add(crowdPartOf(candidate.body, shares));
            }
            hold(candidate.body);
            shares.crowdLeft -= candidate.crowded ? 1 : 0;
            // What stays is done among the contacts the held bodies leave. Its boxes' pairs are never
            // found once it is held: the pair buffer grows for no more than the pairs left (that
            // growth is no body's own work: it counts toward no candidate's rank).
            m_predicted.remove(adds);
            m_predicted = reachingMade(m_predicted);
            m_predicted.grown = std::min(m_predicted.grown, census.pastRoom(m_predicted.pairs));
            if (said) {
                said(candidate.body, adds, true);
            }
            firstHeld = firstHeld != nullptr ? firstHeld : candidate.body;
            ++held;
        }
    }
    m_disable.settle(world);
    // Held out in serial order, so that the oldest come back first (each serial looked up once).
    std::vector<std::pair<uint64_t, b2Body*>> bySerial;
    bySerial.reserve(m_held.size());
    for (size_t place = 0; place < m_held.places(); ++place) {
        if (b2Body* body = m_held.at(place)) {
            bySerial.emplace_back(find(body)->serial, body);
        }
    }
    std::sort(bySerial.begin(), bySerial.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    m_held.clear();
    for (const auto& [serial, body] : bySerial) {
        find(body)->heldPlace = m_held.add(body);
    }
    m_nextGiveBack = 0;
    if (held > 0) {
        unsigned int id = 0;
        const std::string name = nameOf(firstHeld, &id);
        debugLog(
            "[KXPStepBudget] the next step would work out %lld contacts, find %lld pairs and walk %lld (some "
            "%lld ms): %d bodies held out of the physics where they stand, the first %s (model %u); each "
            "comes back once there is room for it",
            static_cast<long long>(foreseen.contacts), static_cast<long long>(foreseen.pairs),
            static_cast<long long>(foreseen.walks), static_cast<long long>(foreseen.cost() / 1000000), held,
            name.c_str(), id);
    }
    return held;
}

void KXPStepBudget::hold(b2Body* body) {
    m_disable.disable(*body);
    Record& record = recordOf(body);
    record.returned = false;
    if (!record.held) {
        record.held = true;
        record.heldPlace = m_held.add(body);
    }
    watchMoving(body, record);
}

int KXPStepBudget::giveBack(b2World& world, const Said& said, int64_t continuousCost,
                            std::vector<b2Body*>& given) {
    if (m_held.empty()) {
        return 0;
    }
    if (m_held.sparse()) {
        m_nextGiveBack = m_held.closeUp(
            m_nextGiveBack, [this](b2Body* body, size_t place) { find(body)->heldPlace = place; });
    }
    KXPStepCensus census(world, m_memo, nextStamp());
    int count = 0;
    size_t tries = std::min(kGiveBackTries, m_held.size());
    size_t misses = 0;
    // What it looks at to tell what each would add stays a small share of the room.
    while (tries > 0 && !m_held.empty() && census.looks() < kGiveBackLooks && misses < kGiveBackMisses) {
        if (m_nextGiveBack >= m_held.places()) {
            m_nextGiveBack = 0;
        }
        b2Body* body = m_held.at(m_nextGiveBack);
        if (body == nullptr) {
            ++m_nextGiveBack;
            continue;
        }
        --tries;
        // Its boxes would pass what the world's tree holds.
        if (int64_t{census.view().proxyCount()} + boxesOf(*body) > m_worldBoxes) {
            ++m_nextGiveBack;
            ++misses;
            continue;
        }
        Work adds = census.countComing(*body);
        adds.moving = body->GetType() != b2_staticBody ? 1 : 0;
        // Each contact it makes is tested in the step it comes back in (and solved if it touches,
        // counted with the test); a character's rays look at the boxes it overlaps, and theirs at it.
        if (rankOf(body) == Rank::last) {
            adds.rays = kxcount::mul(4, adds.pairs);
        }
        Work after = m_predicted;
        after.add(adds);
        if (kxcount::add(after.cost(), continuousCost) > kRoomWork) {
            ++m_nextGiveBack;
            ++misses;
            continue;
        }
        m_held.remove(m_nextGiveBack++);
        Record& record = *find(body);
        record.held = false;
        record.returned = true;
        record.returnedContacts = adds.made;
        record.returnedAt = m_returns++;
        body->SetEnabled(true);
        watchMoving(body, record);
        m_predicted = after;
        given.push_back(body);
        if (said) {
            said(body, adds, false);
        }
        ++count;
    }
    m_looks = kxcount::add(m_looks, census.looks());
    return count;
}

void KXPStepBudget::countLate(const b2World& world, int32 from, std::vector<b2Body*>& given) {
    const KXPBroadPhaseView view(world);
    if (view.moveCount() <= from) {
        return;
    }
    std::sort(given.begin(), given.end(), std::less<b2Body*>());
    KXPStepCensus late(world, m_memo, nextStamp());
    Work work;
    for (int32 index = from; index < view.moveCount(); ++index) {
        const int32 proxyId = view.movedProxy(index);
        const b2FixtureProxy* proxy = proxyId != b2BroadPhase::e_nullProxy ? view.proxy(proxyId) : nullptr;
        if (proxy == nullptr ||
            std::binary_search(given.begin(), given.end(), proxy->fixture->GetBody(), std::less<b2Body*>())) {
            continue;
        }
        const bool whole = late.looks() < kCrowdLooks;
        work.add(late.countEntry(proxyId, whole ? KXPStepCensus::kCarriedBoxes : kCrowdBoxes, whole));
    }
    m_looks = kxcount::add(m_looks, late.looks());
    if (work.queries == 0) {
        return;
    }
    m_predicted.add(work);
    m_predicted = reachingMade(m_predicted);
}
