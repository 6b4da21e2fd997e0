// The view against a companion whose window thread stops answering for a while, at each moment
// of its road: the IDE's thread never waits for it beyond the frame's own waits (another
// process times the IDE's answers), and the companion ends up embedded and sized, or asked to
// close and forgotten.
#include "tests/plugin/companion_scene.h"
#include "tests/tally.h"

namespace plugin_test {
namespace {

// True once the companion's transcript holds the text (the companion writes it in its time).
bool Noted(const CompanionScene& scene, const char* text, DWORD milliseconds = 15000) {
  return PumpUntil([&] { return scene.Transcript().find(text) != std::string::npos; },
                   milliseconds);
}

TEST(CompanionHangs, OnItsWayIn) {
  const struct {
    const char* label;
    const wchar_t* switches;
  } rows[] = {
      {"found, then busy before its re-parenting", L"/hidden /hang=shown:3000"},
      {"busy from its re-parenting on", L"/hidden /hang=parent:3000"},
      {"busy from its re-parenting on, shown", L"/hang=parent:3000"},
      {"busy in its first sizing inside the panel", L"/hidden /hang=size:3000"},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    scene.Tick(r.switches);
    wtarn_test::tally::Faults("companion");
    EXPECT_TRUE(scene.ButtonOffered()) << "the start ends without waiting for the companion";
    EXPECT_TRUE(Noted(scene, "answers again"));
    EXPECT_TRUE(wtarn_test::tally::Kept("companion", scene.EmbeddedSoon(scene.found)))
        << "embedded once it answers again";
    EXPECT_TRUE(FillsSoon(scene.found, scene.frame->Panel1->Handle())) << "and sized";
  }
}

TEST(CompanionHangs, AfterEmbeddingWhileTheUser) {
  const struct {
    const char* label;
    std::function<void(CompanionScene&)> act, then;
  } rows[] = {
      {"resizes the page",
       [](CompanionScene& s) { s.page.SetBounds(0, 0, 560, 340); },
       [](CompanionScene& s) {
         EXPECT_TRUE(Noted(s, "answers again"));
         EXPECT_TRUE(s.Embedded(s.found));
         EXPECT_TRUE(FillsSoon(s.found, s.frame->Panel1->Handle())) << "sized once it answers again";
       }},
      {"presses \"Show PlugIn\", and the next companion asks for a project",
       [](CompanionScene& s) { s.PressShowPlugIn(); },
       [](CompanionScene& s) {
         EXPECT_TRUE(s.NothingEmbedded()) << "forgotten at once";
         rtl::UniqueHandle hung = std::move(s.companion);
         s.Tick(L"/hidden /send=C:\\P\\Next.dproj");
         EXPECT_TRUE(s.EmbeddedSoon(s.found)) << "the next companion is embedded";
         EXPECT_TRUE(PumpUntil([&] { return !s.ide.opened.empty(); }, 10000));
         EXPECT_TRUE(Ended(hung, 15000)) << "the busy one ends on its close request";
         PumpFor(300);
         EXPECT_EQ(s.ide.opened, std::vector<String>{u"C:\\P\\Next.dproj"}) << "opened once";
       }},
      {"frees the view",
       [](CompanionScene& s) {
         delete s.frame;
         s.frame = nullptr;
       },
       [](CompanionScene& s) {
         EXPECT_TRUE(Ended(s.companion, 1000)) << "the busy companion inside is ended";
         EXPECT_EQ(ExitCode(s.companion), static_cast<DWORD>(ERROR_TIMEOUT));
       }},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.label);
    CompanionScene scene;
    scene.Tick(L"/hang=embedded:5000");  // shown: it can be the active window
    ASSERT_TRUE(scene.EmbeddedSoon(scene.found));
    ASSERT_TRUE(Noted(scene, "hangs for"));
    wtarn_test::tally::Faults("companion");
    r.act(scene);
    r.then(scene);
  }
}

// With the frame's own waits as they stand, the IDE's thread is away exactly for them: the
// 2000 ms before the first search, and no longer.
TEST(CompanionHangs, TheFramesOwnWaitsStay) {
  CompanionScene scene;
  scene.answer_limit = 2000 + 1000;
  EnvVar switches(L"TARNPLUGIN_SWITCHES", L"");
  scene.frame->Timer1Timer(nullptr);
  EXPECT_TRUE(PumpUntil([&] { return WTarnView::ProgLoaded; }, 5000));
  const AnswerTimer::Wait longest = scene.answers.Stop();
  EXPECT_GE(longest.ms, 2000) << "the first search waits 2000 ms";
}

}  // namespace
}  // namespace plugin_test
