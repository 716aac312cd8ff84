#include "player/physics/KXPStepMeter.h"

#include "player/physics/KXPBroadPhaseView.h"
#include "player/physics/KXPContinuousCollision.h"
#include "player/physics/KXPStepCensus.h"

#include <algorithm>
#include <cinttypes>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <unordered_set>

// Box2D's own count of the times of impact it has worked out (KXPContinuousCollision.cpp).
extern B2_API int32 b2_toiCalls;

namespace {

int64_t listLength(const b2Body& body) {
    int64_t length = 0;
    for (const b2ContactEdge* edge = body.GetContactList(); edge != nullptr; edge = edge->next) {
        ++length;
    }
    return length;
}

bool touchingSolid(const b2Contact& contact) {
    return contact.IsTouching() && contact.IsEnabled() && !contact.GetFixtureA()->IsSensor() &&
           !contact.GetFixtureB()->IsSensor();
}

} // namespace

KXPStepMeter* KXPStepMeter::active() {
    static KXPStepMeter* meter = [] {
        const char* path = std::getenv("KX_STEP_METER");
        std::FILE* file = path != nullptr && *path != '\0' ? std::fopen(path, "a") : nullptr;
        const char* light = std::getenv("KX_STEP_METER_LIGHT");
        return file != nullptr ? new KXPStepMeter(file, light != nullptr && *light != '\0') : nullptr;
    }();
    return meter;
}

KXPStepMeter::KXPStepMeter(std::FILE* file, bool light)
    : m_file(file), m_light(light), m_clockCost(readingCost(threadNanos)),
      m_monotonicCost(readingCost(monotonicNanos)) {}

int64_t KXPStepMeter::readingCost(int64_t (*clock)()) {
    // The least of a few runs of readings: what an interval measured around nothing shows.
    constexpr int kReadings = 256;
    int64_t least = -1;
    for (int run = 0; run < 8; ++run) {
        const int64_t start = clock();
        for (int reading = 0; reading < kReadings; ++reading) {
            clock();
        }
        const int64_t each = (clock() - start) / (kReadings + 1);
        least = least < 0 ? each : std::min(least, each);
    }
    return least;
}

int64_t KXPStepMeter::since(int64_t start) const {
    return std::max<int64_t>(threadNanos() - start - m_clockCost, 0);
}

int64_t KXPStepMeter::sinceMonotonic(int64_t start) const {
    return std::max<int64_t>(monotonicNanos() - start - m_monotonicCost, 0);
}

KXPStepMeter::Mark KXPStepMeter::mark(const b2World& world) {
    Mark start;
    start.cpu = world.GetBodyCount() > kCpuTimedBodies ? threadNanos() : -1;
    start.monotonic = monotonicNanos();
    return start;
}

int64_t KXPStepMeter::budgetSince(const Mark& start) const {
    const int64_t elapsed = sinceMonotonic(start.monotonic);
    return start.cpu < 0 || elapsed < kCpuTimedFrom ? elapsed : std::min(elapsed, since(start.cpu));
}

int64_t KXPStepMeter::threadNanos() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

int64_t KXPStepMeter::monotonicNanos() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void KXPStepMeter::beforeStep(const b2World& world) {
    if (m_light) {
        return;
    }
    m_contacts = world.GetContactCount();
    m_touching = 0;
    m_sensing = 0;
    // The pages of memory the contacts lie in, counted exactly (the budget estimates them).
    // And how often the list leaves a page for one not beside it, which the processor cannot
    // fetch ahead.
    std::unordered_set<uint64_t> pages;
    m_jumps = 0;
    uint64_t last = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        m_touching += touchingSolid(*contact) ? 1 : 0;
        m_sensing += contact->IsTouching() && !touchingSolid(*contact) ? 1 : 0;
        const uint64_t page = KXPContinuousCollision::pageOf(*contact);
        pages.insert(page);
        m_jumps += contact != world.GetContactList() && KXPContinuousCollision::jumps(last, page) ? 1 : 0;
        last = page;
    }
    m_pages = static_cast<int64_t>(pages.size());
    // The first pairing, looked up box by box as Box2D will pair it.
    KXPStepCensus::Memo memo;
    KXPStepCensus census(world, memo, 1);
    m_moved = census.view().moveCount();
    const KXPStepWork first = census.firstPairing(kxcount::kMax, kxcount::kMax, kxcount::kMax, 0);
    m_startPairs = first.pairs;
    m_startWalks = first.walks;
    m_startMade = first.made;
    m_toiCalls = b2_toiCalls;
}

void KXPStepMeter::finishStep(const b2World& world, uint32_t frame, int64_t predicted, bool acts,
                              const std::string& parts) {
    if (m_light) {
        std::fprintf(
            m_file,
            "S=%" PRIu64 " F=%u measured=%lld step=%lld rays=%lld budget=%lld predicted=%lld acts=%d%s\n",
            ++m_steps, frame, static_cast<long long>(m_step + m_rays), static_cast<long long>(m_step),
            static_cast<long long>(m_rays), static_cast<long long>(m_budget),
            static_cast<long long>(predicted), acts ? 1 : 0, parts.c_str());
        std::fflush(m_file);
        m_budget = 0;
        m_rays = 0;
        m_step = 0;
        return;
    }
    // What Box2D did: the pairs its last pairing found and the lists they walked, the bodies that
    // move, the contacts after, its own split of the step (wall clock, in microseconds).
    const KXPBroadPhaseView view(world);
    int64_t pairWalks = 0;
    for (int32 index = 0; index < view.pairCount(); ++index) {
        const b2FixtureProxy* proxy = view.proxy(view.pair(index).proxyIdB);
        if (proxy != nullptr) {
            pairWalks += listLength(*proxy->fixture->GetBody());
        }
    }
    int64_t moving = 0;
    int64_t fixtures = 0;
    for (const b2Body* body = world.GetBodyList(); body != nullptr; body = body->GetNext()) {
        if (body->IsEnabled() && body->IsAwake() && body->GetType() != b2_staticBody) {
            ++moving;
            for (const b2Fixture* fixture = body->GetFixtureList(); fixture != nullptr;
                 fixture = fixture->GetNext()) {
                ++fixtures;
            }
        }
    }
    int64_t touching = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        touching += touchingSolid(*contact) ? 1 : 0;
    }
    const b2Profile& profile = world.GetProfile();
    const auto micros = [](float ms) { return static_cast<long long>(ms * 1000.0f); };
    std::string line;
    char part[64];
    const auto add = [&](const char* key, long long value) {
        std::snprintf(part, sizeof part, " %s=%lld", key, value);
        line += part;
    };
    std::fprintf(m_file, "S=%" PRIu64 " F=%u", ++m_steps, frame);
    add("measured", m_step + m_rays);
    add("step", m_step);
    add("rays", m_rays);
    add("budget", m_budget);
    add("predicted", predicted);
    add("acts", acts ? 1 : 0);
    line += parts;
    add("c0", m_contacts);
    add("t0", m_touching);
    add("s0", m_sensing);
    add("pages0", m_pages);
    add("jumps0", m_jumps);
    add("moved0", m_moved);
    add("pairs0", m_startPairs);
    add("walks0", m_startWalks);
    add("made0", m_startMade);
    add("c1", world.GetContactCount());
    add("t1", touching);
    add("bodies", world.GetBodyCount());
    add("moving", moving);
    add("movingFixtures", fixtures);
    add("proxies", view.proxyCount());
    add("joints", world.GetJointCount());
    add("pairsEnd", view.pairCount());
    add("pairWalksEnd", pairWalks);
    add("toiCalls", b2_toiCalls - m_toiCalls);
    add("us.collide", micros(profile.collide));
    add("us.solve", micros(profile.solve));
    add("us.broadphase", micros(profile.broadphase));
    add("us.toi", micros(profile.solveTOI));
    add("us.step", micros(profile.step));
    std::fprintf(m_file, "%s\n", line.c_str());
    std::fflush(m_file);
    m_budget = 0;
    m_rays = 0;
    m_step = 0;
}
