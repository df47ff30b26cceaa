// The Flash player on a virtual clock and fake movie controls: the order of the movies, what a
// missing or unloadable movie does, looping a single movie, and what reaches the movie.
#include "engine/preview/PreviewFlags.h"
#include "engine/preview/PreviewHelpers.h"
#include "tests/ini/TempFolder.h"
#include "tests/preview/PreviewFakes.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace somnex;
using namespace somnex::test;
using plat::MovieInput;

namespace {

struct FlashProject {
    std::vector<std::string> movies; // names; a name starting with "-" is listed but has no file
    int32_t orderMode = 0;
    bool allowMouse = false, exitOnMouse = false;
    int32_t scaleMode = 2, quality = 3;
};

class FlashPlayer : public testing::Test {
protected:
    void SetUp() override { ThePreviewFlags() = {}; }

    std::string Make(const FlashProject& f) {
        std::string file = dir / "movies.vcv";
        TIniVCVProjectFile p;
        p.NewProject(file);
        p.ControlSetting.RestoreNormalKey = true;
        p.ControlSetting.RestoreMouse = f.exitOnMouse;
        p.ControlSetting.AllowMouseEvent = f.allowMouse;
        p.FlashSetting.OrderMode = f.orderMode;
        p.FlashSetting.ScaleMode = f.scaleMode;
        p.FlashSetting.Quality = f.quality;
        p.WriteProject();
        for (size_t i = 0; i < f.movies.size(); ++i) {
            const bool missing = f.movies[i][0] == '-';
            const std::string name = missing ? f.movies[i].substr(1) : f.movies[i];
            if (!missing) {
                std::ofstream(dir / name) << "movie";
                sys.movies.lengths[dir / name] = 500;
            }
            p.WriteFlash(int32_t(i), {name, dir / name});
        }
        p.SetFlashCount(int32_t(f.movies.size()));
        p.CloseProject();
        return file;
    }

    // Runs the preview; Script plays while it is shown and ends it with a key.
    void Run(const FlashProject& f, std::function<void()> Script) {
        std::string file = Make(f);
        sys.stage.script = [&] {
            Script();
            ASSERT_NE(playing, nullptr);
            playing->FormKeyUp('A');
        };
        RunPreview(TPreviewKind::Flash, file, false, 0, [&](TPreviewKind kind) {
            auto form = sys.Players()(kind);
            playing = form.get();
            return form;
        });
    }

    // Lets the player run: each loaded movie finishes loading and plays to its end.
    void PlayMovies(int Count) {
        sys.slideshow.clock.Advance(10);
        for (int i = 0; i < Count; ++i) {
            if (sys.movies.current) sys.movies.current->FinishLoading();
            sys.slideshow.clock.Advance(1000);
        }
    }

    std::vector<std::string> Loads() const {
        std::vector<std::string> loads;
        for (const auto& l : sys.movies.log)
            if (l.rfind("load 0 ", 0) == 0) loads.push_back(l.substr(7));
        return loads;
    }

    TempFolder dir;
    FakeSystem sys;
    TPreviewPlayer* playing = nullptr;
};

TEST_F(FlashPlayer, ListOrderSkipsAMissingMovie) {
    Run({{"a.swf", "-b.swf", "c.swf"}}, [&] { PlayMovies(5); });
    EXPECT_EQ(Loads(), (std::vector<std::string>{"a.swf", "c.swf", "a.swf", "c.swf", "a.swf", "c.swf"}));
    EXPECT_EQ(sys.movies.live, 0) << "closing releases the control";
}

TEST_F(FlashPlayer, RandomOrderPlaysEachMovieOncePerCycle) {
    Run({{"a.swf", "b.swf", "c.swf"}, 1}, [&] { PlayMovies(8); });
    std::vector<std::string> loads = Loads();
    ASSERT_EQ(loads.size(), 9u);
    for (size_t cycle = 0; cycle < 9; cycle += 3) {
        std::vector<std::string> part(loads.begin() + long(cycle), loads.begin() + long(cycle) + 3);
        std::sort(part.begin(), part.end());
        EXPECT_EQ(part, (std::vector<std::string>{"a.swf", "b.swf", "c.swf"})) << cycle;
    }
}

TEST_F(FlashPlayer, ASingleMovieIsRestartedOnceAndThenLoopsByItself) {
    Run({{"a.swf"}}, [&] {
        PlayMovies(1);
        sys.slideshow.clock.Advance(60000);
        ASSERT_NE(sys.movies.current, nullptr);
        EXPECT_TRUE(sys.movies.current->IsPlaying());
    });
    EXPECT_EQ(sys.movies.log, (std::vector<std::string>{"load 0 a.swf", "play", "loop"}));
}

TEST_F(FlashPlayer, TheControlGetsTheProjectSettings) {
    Run({{"a.swf"}, 0, false, false, 1, 2}, [&] {
        sys.slideshow.clock.Advance(10);
        FakeMovieControl* c = sys.movies.current;
        ASSERT_NE(c, nullptr);
        EXPECT_FALSE(c->menu);
        EXPECT_EQ(c->background, -1);
        EXPECT_EQ(c->scaleMode, 1);
        EXPECT_EQ(c->quality, 2);
        EXPECT_FALSE(c->loop);
        EXPECT_TRUE(c->placed);
    });
}

TEST_F(FlashPlayer, NothingToPlayLeavesTheScreenBlackWithoutComplaint) {
    for (FlashProject f : {FlashProject{{}}, FlashProject{{"-gone.swf", "-lost.swf"}}}) {
        sys.movies = {};
        Run(f, [&] { sys.slideshow.clock.Advance(1000); });
        EXPECT_TRUE(Loads().empty());
        EXPECT_TRUE(sys.boxes.empty());
    }
}

TEST_F(FlashPlayer, AMovieThatNeverLoadsIsNeverWatchedForItsEnd) {
    Run({{"a.swf", "b.swf"}}, [&] {
        sys.movies.lengths.clear(); // the backend cannot play either file
        sys.slideshow.clock.Advance(10);
        if (sys.movies.current) sys.movies.current->FinishLoading();
        sys.slideshow.clock.Advance(60000);
    });
    EXPECT_EQ(Loads(), (std::vector<std::string>{"a.swf"}));
}

TEST_F(FlashPlayer, MouseInputReachesTheMovieOnlyAsTheProjectAllows) {
    struct Case {
        MovieInput input;
        bool keptWhenDisallowed, keptWhenAllowed;
    };
    const Case cases[] = {
        {MovieInput::LeftDown, true, false},          {MovieInput::LeftUp, true, false},
        {MovieInput::LeftDoubleClick, true, false},   {MovieInput::MiddleDown, true, false},
        {MovieInput::MiddleDoubleClick, true, false}, {MovieInput::Wheel, true, false},
        {MovieInput::RightDown, true, true},          {MovieInput::RightUp, true, true},
        {MovieInput::RightDoubleClick, false, false}, {MovieInput::Other, false, false},
    };
    for (bool allow : {false, true}) {
        sys.movies = {};
        Run({{"a.swf"}, 0, allow}, [&] {
            sys.slideshow.clock.Advance(10);
            ASSERT_NE(sys.movies.current, nullptr);
            for (const Case& c : cases)
                EXPECT_EQ(sys.movies.current->Input(c.input),
                          allow ? c.keptWhenAllowed : c.keptWhenDisallowed)
                    << int(c.input) << " allow " << allow;
        });
    }
}

TEST_F(FlashPlayer, AJumpOfTheMouseOverTheMovieEndsThePreview) {
    Run({{"a.swf"}, 0, false, true}, [&] {
        sys.slideshow.clock.Advance(10);
        FakeMovieControl* c = sys.movies.current;
        ASSERT_NE(c, nullptr);
        TheMouseMeasure().SetPoint(200, 200);
        for (int32_t i = 1; i <= 20; ++i) EXPECT_FALSE(c->Input(MovieInput::MouseMove, 200 + 10 * i, 200));
        EXPECT_EQ(sys.stage.closeRequests, 0);
        EXPECT_FALSE(c->Input(MovieInput::MouseMove, 400 + 16, 200)); // the move itself still passes
        EXPECT_EQ(sys.stage.closeRequests, 1);
        EXPECT_EQ(sys.movies.live, 0) << "the control went with the closed form";
        sys.slideshow.clock.Advance(1000);
        EXPECT_EQ(Loads().size(), 1u) << "nothing plays after the close";
    });
}

} // namespace
