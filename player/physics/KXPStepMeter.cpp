#include "player/physics/KXPStepMeter.h"

#include "player/physics/KXPBroadPhaseView.h"

#include <cinttypes>
#include <cstdlib>
#include <ctime>

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
        return file != nullptr ? new KXPStepMeter(file) : nullptr;
    }();
    return meter;
}

int64_t KXPStepMeter::threadNanos() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

void KXPStepMeter::beforeStep(const b2World& world) {
    m_contacts = world.GetContactCount();
    m_touching = 0;
    for (const b2Contact* contact = world.GetContactList(); contact != nullptr;
         contact = contact->GetNext()) {
        m_touching += touchingSolid(*contact) ? 1 : 0;
    }
    m_moved = KXPBroadPhaseView(world).moveCount();
    m_toiCalls = b2_toiCalls;
}

void KXPStepMeter::finishStep(const b2World& world, uint32_t frame, int64_t predicted, bool acts,
                              const std::string& parts) {
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
    std::fprintf(
        m_file,
        "S=%" PRIu64 " F=%u measured=%lld step=%lld rays=%lld budget=%lld predicted=%lld acts=%d%s "
        "c0=%lld t0=%lld moved0=%lld c1=%lld t1=%lld bodies=%d moving=%lld movingFixtures=%lld "
        "proxies=%d joints=%d pairsEnd=%d pairWalksEnd=%lld toiCalls=%d us.collide=%lld us.solve=%lld "
        "us.broadphase=%lld us.toi=%lld us.step=%lld\n",
        ++m_steps, frame, static_cast<long long>(m_step + m_rays), static_cast<long long>(m_step),
        static_cast<long long>(m_rays), static_cast<long long>(m_budget), static_cast<long long>(predicted),
        acts ? 1 : 0, parts.c_str(), static_cast<long long>(m_contacts), static_cast<long long>(m_touching),
        static_cast<long long>(m_moved), static_cast<long long>(world.GetContactCount()),
        static_cast<long long>(touching), world.GetBodyCount(), static_cast<long long>(moving),
        static_cast<long long>(fixtures), view.proxyCount(), world.GetJointCount(), view.pairCount(),
        static_cast<long long>(pairWalks), b2_toiCalls - m_toiCalls, micros(profile.collide),
        micros(profile.solve), micros(profile.broadphase), micros(profile.solveTOI), micros(profile.step));
    std::fflush(m_file);
    m_budget = 0;
    m_rays = 0;
    m_step = 0;
}
