#include "beam_search.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <unordered_map>

#include "app/level_loop.h"
#include "state/angles.h"

namespace {

constexpr uint8_t kSteps[] = {
    0, kKeyThrust, kKeyLeft, kKeyRight, kKeyThrust | kKeyLeft, kKeyThrust | kKeyRight};

std::string keyNames(uint8_t keys) {
  std::string names;
  if (keys & kKeyLeft) names += "A ";
  if (keys & kKeyRight) names += "S ";
  if (keys & kKeyThrust) names += "RSHIFT ";
  if (keys & kKeyTag) names += "SPACE ";
  if (keys & kKeyFire) names += "ENTER ";
  return names;
}

// One chosen step of one branch: the branches share their beginnings.
struct Trail {
  int parent;
  KeyRun run;
};

struct Node {
  double score;
  int trail;
};

struct Candidate {
  double score;
  int parentNode;
  uint8_t keys;
  int frames;
  bool won;
};

// Speed the craft cannot shed before the rock: the towed pair brakes with a
// third to a half of the thrust the ship alone has, so it must go slower.
double speedPenalty(const CaveMap& map) {
  const LevelState& s = levelState;
  const double speed = std::hypot(s.velX, s.velY);
  const double room = std::min(40.0f, clearanceAt(map, s.posX, s.posY));
  const double allowed = s.ballTowed ? 0.5 + room / 20.0 : 1.0 + room / 12.0;
  const double over = std::max(0.0, speed - allowed);
  return 100 * over * over;
}

// How far the attempt has come; higher is better. Stages: to the ball, the
// tag, with the ball to the sky, the leave countdown.
double progress(const CaveMap& map) {
  const LevelState& s = levelState;
  if (s.leaving && s.ballTowed) return 40000 + levelLoop.leaveTimer * 10;
  if (s.ballTowed) return 30000 - distanceAt(map.toSky, s.posX, s.posY) - speedPenalty(map);
  if (ball.tagging) return 20000 - distanceAt(map.toSky, s.posX, s.posY);
  return 10000 - distanceAt(map.toBall, s.posX, s.posY) - speedPenalty(map);
}

bool lost() {
  const LevelState& s = levelState;
  return s.shipDestroyed || s.ballDestroyed || (levelLoop.levelDone && !s.ballTowed) ||
         (s.leaving && !s.ballTowed);
}

// A coarse picture of the state: branches that share it are one branch.
uint64_t coarseState() {
  const LevelState& s = levelState;
  auto bucket = [](double value, double size) {
    return static_cast<uint64_t>(static_cast<int64_t>(std::floor(value / size)) & 0xfff);
  };
  uint64_t key = bucket(s.posX, 4) | bucket(s.posY, 4) << 12 | bucket(s.velX, 0.5) << 24 |
                 bucket(s.velY, 0.5) << 32 | bucket(s.angle, kTwoPi / 24) << 40;
  if (s.ballTowed) key |= (bucket(ball.rodAngle + kTwoPi, kTwoPi / 16) & 0x1f) << 48 | 1ULL << 60;
  if (ball.tagging) key |= 1ULL << 61;
  return key;
}

uint8_t withTag(uint8_t keys) {
  return ball.ballOnStand && !ball.tagging ? keys | kKeyTag : keys;
}

class Search {
 public:
  Search(const CaveMap& map, const SearchOptions& options) : map_(map), options_(options) {}

  SearchResult run(const WorldSnapshot& atIntro) {
    start_ = std::clock();
    restoreWorld(atIntro);
    if (options_.atIntro) startLevel();
    beam_.clear();
    beam_.push_back(std::make_unique<WorldSnapshot>());
    saveWorld(beam_[0].get(), Picture::kLeftOut);
    nodes_ = {Node{progress(map_), -1}};
    for (long step = 0; !nodes_.empty(); ++step) {
      if (seconds() > options_.secondsAllowed) break;
      if (advance()) break;
      if (!options_.quiet && step % 25 == 0) report(step);
    }
    result_.seconds = seconds();
    return result_;
  }

 private:
  // Processor time, not wall time: on a shared machine the figures stay what
  // the search costs.
  double seconds() const { return static_cast<double>(std::clock() - start_) / CLOCKS_PER_SEC; }

  // Plays `keys` for up to `frames` frames from the world as it stands.
  int play(uint8_t keys, int frames, bool* won) {
    headlessLoadScript(scriptOf({{keys, frames}}), nullptr);
    int played = 0;
    *won = false;
    while (played < frames) {
      runLevelFrame();
      ++played;
      ++result_.framesPlayed;
      if (!levelRunning()) {
        *won = levelLoop.levelDone && levelState.ballTowed;
        break;
      }
      if (lost()) break;
    }
    return played;
  }

  void expand(std::vector<Candidate>* candidates) {
    std::unordered_map<uint64_t, size_t> seen;
    for (size_t n = 0; n < nodes_.size(); ++n) {
      for (uint8_t step : kSteps) {
        restoreWorld(*beam_[n]);
        bool won = false;
        const uint8_t keys = withTag(step);
        const int frames = play(keys, options_.holdFrames, &won);
        if (!won && lost()) continue;
        const Candidate candidate{won ? 1e12 : progress(map_), static_cast<int>(n), keys, frames,
                                  won};
        const auto [place, fresh] = seen.try_emplace(coarseState(), candidates->size());
        if (fresh) {
          candidates->push_back(candidate);
        } else if ((*candidates)[place->second].score < candidate.score) {
          (*candidates)[place->second] = candidate;
        }
      }
    }
  }

  // One step of the whole beam; true when the search has ended.
  bool advance() {
    std::vector<Candidate> candidates;
    expand(&candidates);
    const size_t kept = std::min<size_t>(candidates.size(), options_.beamWidth);
    std::partial_sort(candidates.begin(), candidates.begin() + kept, candidates.end(),
                      [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
    std::vector<std::unique_ptr<WorldSnapshot>> beam;
    std::vector<Node> nodes;
    for (size_t i = 0; i < kept; ++i) {
      const Candidate& c = candidates[i];
      trails_.push_back({nodes_[c.parentNode].trail, {c.keys, c.frames}});
      if (c.won) return finish(static_cast<int>(trails_.size()) - 1);
      restoreWorld(*beam_[c.parentNode]);
      bool won = false;
      play(c.keys, c.frames, &won);
      auto snapshot = recycled(&beam);
      saveWorld(snapshot.get(), Picture::kLeftOut);
      beam.push_back(std::move(snapshot));
      nodes.push_back({c.score, static_cast<int>(trails_.size()) - 1});
    }
    spare_ = std::move(beam_);
    beam_ = std::move(beam);
    nodes_ = std::move(nodes);
    if (!nodes_.empty()) best_ = std::max(best_, nodes_[0].score);
    return false;
  }

  std::unique_ptr<WorldSnapshot> recycled(std::vector<std::unique_ptr<WorldSnapshot>>*) {
    if (spare_.empty()) return std::make_unique<WorldSnapshot>();
    auto snapshot = std::move(spare_.back());
    spare_.pop_back();
    return snapshot;
  }

  bool finish(int trail) {
    result_.won = true;
    for (int t = trail; t >= 0; t = trails_[t].parent) result_.runs.push_back(trails_[t].run);
    std::reverse(result_.runs.begin(), result_.runs.end());
    return true;
  }

  void report(long step) {
    std::fprintf(stderr, "\r  step %5ld  frames searched %9ld  beam %4zu  best %8.1f  %6.1f s  ",
                 step, result_.framesPlayed, nodes_.size(), nodes_.empty() ? 0 : nodes_[0].score,
                 seconds());
    if (std::getenv("KRAVIX_SOLVE_TRACE") && !beam_.empty()) {
      const LevelState& s = beam_[0]->level;
      std::fprintf(
          stderr,
          "\n    at (%.0f, %.0f) moving (%.2f, %.2f) angle %.2f tagging %d towed %d rod %.2f\n",
          s.posX, s.posY, s.velX, s.velY, s.angle, beam_[0]->ball.tagging, s.ballTowed,
          beam_[0]->ball.rodAngle);
    }
  }

  const CaveMap& map_;
  SearchOptions options_;
  std::clock_t start_ = 0;
  std::vector<std::unique_ptr<WorldSnapshot>> beam_, spare_;
  std::vector<Node> nodes_;
  std::vector<Trail> trails_;
  double best_ = -1e18;
  SearchResult result_;
};

}  // namespace

SearchResult searchLevel(const CaveMap& map, const WorldSnapshot& atIntro,
                         const SearchOptions& options) {
  Search search(map, options);
  return search.run(atIntro);
}

std::string scriptOf(const std::vector<KeyRun>& runs) {
  std::string script;
  for (const KeyRun& run : runs) {
    const std::string keys = keyNames(run.keys);
    script += (keys.empty() ? "wait " : "hold " + keys) + std::to_string(run.frames) + "\n";
  }
  return script;
}
