#pragma once

// Box2D's continuous collision (no fast body passes through a thin one) finds, in each step, the
// times of impact of moving bodies with still ones (and of bullets), one after another: it works
// out the time of impact of each contact that may have one, and for each impact it solves (Box2D
// counts them on the contacts) it looks at every contact of the world again. A step's impacts are
// not known before it: the busiest of the last four steps that ran continuous collision tells the
// next, as the same bodies do much the same from one step to the next. While steps go without it,
// that count wanes by an eighth a step, so that it is tried again once the world may have calmed
// down. A step that worked out more than kImpactsPerStep times of impact (a character in a forest
// of overlapping trees: millions) is followed by kRestSteps without, then it is tried again. Counts
// decide, not time, so that a run repeats exactly.

#include "player/physics/KXPStepWork.h"

#include <box2d/box2d.h>

#include <array>
#include <cstddef>
#include <cstdint>

class KXPContinuousCollision {
public:
    // Times of impact worked out in one step: the densest playable levels measured take at most
    // 424 (2,000 moths in the garden); a character in a forest of 10,000 trees 8 points apart,
    // 500,000.
    static constexpr int32 kImpactsPerStep = 16384;
    // Steps without continuous collision after one that passed kImpactsPerStep: ten seconds.
    static constexpr uint32_t kRestSteps = 600;

    // What the coming step's continuous collision would do, with the world holding `contacts` once
    // the step's pairings have made theirs, `made` of them in its first pairing (each may have a time
    // of impact). After steps without it, bodies may have sunk into still ones meanwhile: each of the
    // `candidates` (the contacts that may have a time of impact, told when retrying() asks for them)
    // is taken for an impact at least.
    // Each impact carries its two bodies on, paying what `carried` tells a body carried beyond its
    // margins pays (KXPStepBudget's sample of the moving bodies).
    KXPStepWork predicted(int64_t contacts, int64_t made, int64_t candidates = 0,
                          const KXPStepWork& carried = KXPStepWork()) const;
    // Whether the coming step would run it again after steps without it.
    bool retrying() const { return !m_ranLast && m_restLeft == 0; }
    // The contacts of the world Box2D works out a time of impact for in a step.
    static int64_t candidates(const b2World& world);
    bool resting() const { return m_restLeft > 0; }
    // Around each step, which runs with continuous collision or not.
    void beforeStep(bool continuous);
    // true when the step worked out more than kImpactsPerStep times of impact: the next kRestSteps
    // go without continuous collision.
    bool afterStep(const b2World& world);
    int32 lastImpacts() const { return m_lastCalls; }
    // The impacts the last step that ran it solved.
    int64_t lastSolved() const { return m_impacts; }
    // The memory pages the world's contacts lay in after the last step that ran it (an estimate),
    // and how many times the list of them went on to a page not beside the last.
    int64_t lastPages() const { return m_pages; }
    int64_t lastJumps() const { return m_jumps; }
    // The page of memory a contact lies in, and whether a walk going on from page `from` to page
    // `to` leaves the first's neighbours: a step the processor cannot fetch ahead.
    static uint64_t pageOf(const b2Contact& contact) { return reinterpret_cast<uintptr_t>(&contact) >> 12; }
    static bool jumps(uint64_t from, uint64_t to) { return to + 1 < from || to > from + 1; }
    // Each impact walks the world's contacts from one to the next. Where they lie packed, about
    // kContactsPerPage share a page of memory, and the walk costs what `contacts` tells (scanShare).
    // Where they lie scattered over more pages (contacts made and freed a few at a time, or the few
    // left of a crowd over the memory the crowd took), each page is another miss of the processor's
    // page tables and caches: the walk costs what a world of that many packed pages would. Measured,
    // a contact looked at again cost 13-17 ns with 8,000-23,000 contacts over 1,000-1,300 pages, and
    // 40-150 ns with 25,000-65,000 over 9,000-12,000.
    // A walk that goes from page to page in order, as a pile's contacts made together lie, is
    // fetched ahead by the processor while it fits the caches (of a processor shared with other
    // programs): only the steps to a page not beside the last pay the misses
    // (KXPStepWork::scanJumps). From kOrderedContacts on, more and more of the looks in order wait
    // for memory too, and from kOrderedContacts + kOrderedSpan every one does. Measured, 33,000
    // contacts made in one step, their list leaving its page's neighbours 4-40 times, cost 4-7 ns a
    // look, and 98,000-170,000 in order 105-120; lists that jump at a fifth to two thirds of their
    // steps cost 8-16 among 4,000-27,000 contacts.
    static constexpr int64_t kContactsPerPage = 16;
    static constexpr int64_t kOrderedContacts = 32768;
    static constexpr int64_t kOrderedSpan = 65536;
    static int64_t scanReach(int64_t contacts, int64_t pages);
    // Of the coming scan's looks in a world of `reach`, those that miss (KXPStepWork::scanJumps),
    // in 1,024ths.
    int64_t missedShare(int64_t reach) const;
    // Of the coming scan's looks, those that jump as the list did after the last step that ran it
    // (KXPStepWork::scanScattered), in 1,024ths: none before any was counted.
    int64_t jumpedShare() const;

private:
    // The impacts a step solved (those Box2D counted on the world's contacts), and the pages the
    // contacts lie in.
    void countAfter(const b2World& world);

    // The times of impact and the impacts of the last kRecall steps that ran it (waning since):
    // the next step is foreseen by the most of them, as a heap's impacts swing from step to step.
    static constexpr size_t kRecall = 4;
    std::array<int64_t, kRecall> m_calls{};
    std::array<int64_t, kRecall> m_solved{};
    int64_t m_impacts = 0;
    int64_t m_pages = 0;
    int64_t m_jumps = 0;
    int64_t m_counted = 0;
    // The pages met by countAfter, hashed into bits: their number is told from the bits left clear
    // (linear counting), in one pass, whatever the world holds.
    static constexpr size_t kPageBits = 65536;
    std::array<uint64_t, kPageBits / 64> m_pageBits{};
    int32 m_callsBefore = 0;
    int32 m_lastCalls = 0;
    bool m_continuous = false;
    // Whether the last step ran it (none has yet: no count to go by).
    bool m_ranLast = false;
    uint32_t m_restLeft = 0;
};
