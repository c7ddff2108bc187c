// Writes reference review sequences of the FSRS-6 memory model, computed by
// ts-fsrs (the version pinned in package.json), for the C++ port to be
// checked against: tests/learning/test_fsrs.cpp reads the file this writes.
//
//   npm install && npm run generate
//
// The scheduler is set up as the program uses the model: FSRS-6 default
// parameters, desired retention 0.9, maximum interval 36500 days, no fuzz,
// short-term stability on (an item answered twice in one day, as a retake
// does, takes FSRS-6's same-day update) and no learning or relearning steps
// (the program brings an item back when the candidate next practises, never
// minutes later, so every rating goes straight to a whole-day interval).
import { writeFileSync } from 'node:fs';
import { createEmptyCard, fsrs, generatorParameters, Rating } from 'ts-fsrs';

const out = process.argv[2] ?? 'fsrs_golden.csv';
const Sequences = 1200;
const DayMs = 86400000;

// mulberry32: a small seeded generator, so the file is the same every run.
function generator(seed) {
  let a = seed >>> 0;
  return () => {
    a = (a + 0x6d2b79f5) >>> 0;
    let t = a;
    t = Math.imul(t ^ (t >>> 15), t | 1);
    t ^= t + Math.imul(t ^ (t >>> 7), t | 61);
    return ((t ^ (t >>> 14)) >>> 0) / 4294967296;
  };
}
const random = generator(20261210);
const between = (lo, hi) => lo + Math.floor(random() * (hi - lo + 1));

function rating() {
  const u = random();
  if (u < 0.35) return Rating.Again;
  if (u < 0.45) return Rating.Hard;
  if (u < 0.9) return Rating.Good;
  return Rating.Easy;
}

// Same day, on time, early, late, or long after.
function elapsedDays(interval) {
  const u = random();
  if (u < 0.2) return 0;
  if (u < 0.5) return Math.max(1, interval);
  if (u < 0.7) return between(1, Math.max(1, interval));
  if (u < 0.95) return between(interval, 3 * interval + 3);
  return between(100, 3000);
}

const params = generatorParameters({
  request_retention: 0.9,
  maximum_interval: 36500,
  enable_fuzz: false,
  enable_short_term: true,
  learning_steps: [],
  relearning_steps: [],
});
const scheduler = fsrs(params);

const rows = ['sequence,step,elapsed_days,rating,retrievability,stability,difficulty,interval_days'];
for (let s = 1; s <= Sequences; ++s) {
  let now = new Date(Date.UTC(2026, 0, 1, 12, 0, 0));
  let card = createEmptyCard(now);
  const steps = between(1, 14);
  let interval = 0;
  for (let step = 1; step <= steps; ++step) {
    const days = step === 1 ? 0 : elapsedDays(interval);
    now = new Date(now.getTime() + days * DayMs);
    const g = rating();
    // The retrievability the model used: none for a first rating.
    const r = step === 1 ? '' : String(scheduler.forgetting_curve(days, card.stability));
    card = scheduler.next(card, now, g).card;
    interval = card.scheduled_days;
    rows.push([s, step, days, g, r, card.stability, card.difficulty, interval].join(','));
  }
}
writeFileSync(out, rows.join('\n') + '\n');
console.log(`${rows.length - 1} reviews in ${Sequences} sequences written to ${out}`);
