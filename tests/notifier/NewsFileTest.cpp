// The news file: reading hand-written files with their defaults and damage, the update rule, and
// files written by the class reading back.
#include "notifier/NotifierDate.h"
#include "notifier/Unit_Whatsnew.h"
#include "tests/ini/TempFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>

namespace {

using namespace heraldex;
using somnex::test::ReadFile;
using somnex::test::WriteFile;

// 10 December 2026, noon.
const NowFunction kClock = [] { return EncodeDate(2026, 12, 10) + 0.5; };

class NewsFileTest : public ::testing::Test {
protected:
    std::string File(const std::string& text) {
        std::string path = folder / ("news" + std::to_string(++files) + ".new");
        WriteFile(path, text);
        return path;
    }

    somnex::test::TempFolder folder;
    int files = 0;
};

TEST(NotifierDateTest, DaysCountFromTheLastDaysOf1899) {
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1900, 3, 1), 61.0) << "1900 was no leap year";
    EXPECT_EQ(FormatDate(36526.99), "2000-01-01");
    EXPECT_EQ(FormatDate(EncodeDate(2024, 2, 29)), "2024-02-29");
    EXPECT_EQ(FormatDate(-0.5), "1899-12-30");
    EXPECT_EQ(FormatDate(-1.25), "1899-12-29");
    EXPECT_EQ(TodayText(kClock), "2026-12-10");

    // The system clock gives the local calendar day (taken on both sides of a possible midnight).
    auto localDay = [] {
        std::time_t t = std::time(nullptr);
        std::tm tm{};
        localtime_r(&t, &tm);
        char text[16];
        std::strftime(text, sizeof text, "%Y-%m-%d", &tm);
        return std::string(text);
    };
    std::string before = localDay(), today = TodayText(), after = localDay();
    EXPECT_TRUE(today == before || today == after) << today;
}

TEST_F(NewsFileTest, MissingFileReadsAsEmptyAndStaysMissing) {
    std::string path = folder / "none.new";
    TWhatsNew news(path, kClock);
    EXPECT_EQ(news.UpdateDate, "2026-12-10");
    EXPECT_EQ(news.NewsCount, 0);
    EXPECT_EQ(news.ProduceCount, 0);
    EXPECT_FALSE(news.UpdateWhatsNewURL);
    EXPECT_EQ(news.WhatsNewURL, "");
    EXPECT_TRUE(news.ProduceNames.empty());
    EXPECT_EQ(news.FindProduce("Pictavio"), -1);
    EXPECT_EQ(news.FindProduce(""), -1);
    EXPECT_FALSE(news.IsProduceUpdate("Pictavio", ""));
    TProduct p;
    news.GetProduce(1, p);
    EXPECT_EQ(p.License, "Shareware");
    EXPECT_EQ(p.Category, "Product");
    EXPECT_EQ(p.Name + p.Version + p.WhatsNew + p.Description, "");
    EXPECT_EQ(folder.Listing(), "") << "reading creates no file";
}

TEST_F(NewsFileTest, ReadsInfoNewsAndProducts) {
    // "V2hhdCdzIG5ldw0KLSBmYXN0ZXI=" is "What's new\r\n- faster"; "QSBkZXNjcmlwdGlvbg==" is "A description".
    TWhatsNew news(
        File("[Info]\r\nUpdateDate=2026-11-30\r\nNewsCount=2\r\nProduceCount=4\r\n"
             "updatewhatsnewurl=1\r\nWhatsNewURL=http://news.example.net/w2.new\r\n"
             "[News]\r\nDate1=2026-11-30\r\nNews1=Pictavio 3.1 is out\r\nURL1=http://example.net/p\r\n"
             "Date2=2026-10-01\r\nNews2=Autumn sale\r\n"
             "[Produce1]\r\nName=Pictavio\r\nVersion=3.1\r\nSize=4.2 MB\r\nDate=2026-11-30\r\n"
             "License=\r\nDownloadURL=http://example.net/p.exe\r\nScreenshotURL=http://example.net/p.png\r\n"
             "WhatsNew=V2hhdCdzIG5ldw0KLSBmYXN0ZXI=\r\nWhatsNew_Count=28\r\n"
             "Description=QSBkZXNjcmlwdGlvbg==\r\n"
             "[Produce2]\r\nName=PICTAVIO\r\nVersion=9.9\r\nLicense=Freeware\r\nCategory=Tool\r\n"
             "[Produce3]\r\nVersion=1.0\r\n"
             "[Produce4]\r\nName=Vectavio\r\nVersion=2.0\r\n"),
        kClock);
    EXPECT_EQ(news.UpdateDate, "2026-11-30");
    EXPECT_EQ(news.NewsCount, 2);
    EXPECT_TRUE(news.UpdateWhatsNewURL);
    EXPECT_EQ(news.WhatsNewURL, "http://news.example.net/w2.new");
    EXPECT_EQ(news.ProduceNames, (std::vector<std::string>{"Pictavio", "PICTAVIO", "", "Vectavio"}));
    std::vector<std::string> again{"stale"};
    news.GetProduceNameList(again);
    EXPECT_EQ(again, news.ProduceNames);

    TNews item;
    news.GetNews(1, item);
    EXPECT_EQ(item.Date + "|" + item.News + "|" + item.URL,
              "2026-11-30|Pictavio 3.1 is out|http://example.net/p");
    news.GetNews(2, item);
    EXPECT_EQ(item.URL, "") << "an absent link reads as empty";

    EXPECT_EQ(news.FindProduce("pictavio"), 0) << "the first of two spellings";
    EXPECT_EQ(news.FindProduce("VECTAVIO"), 3);
    EXPECT_EQ(news.FindProduce(""), 2);
    EXPECT_EQ(news.FindProduce("Pictavi"), -1);

    TProduct p;
    news.GetProduce(1, p);
    EXPECT_EQ(p.Name, "Pictavio");
    EXPECT_EQ(p.Size, "4.2 MB");
    EXPECT_EQ(p.Date, "2026-11-30");
    EXPECT_EQ(p.License, "") << "present but empty stays empty";
    EXPECT_EQ(p.Category, "Product");
    EXPECT_EQ(p.DownloadURL, "http://example.net/p.exe");
    EXPECT_EQ(p.ScreenshotURL, "http://example.net/p.png");
    EXPECT_EQ(p.WhatsNew, "What's new\r\n- faster");
    EXPECT_EQ(p.Description, "A description") << "without its count the key is read as a plain value";
    news.GetProduce(2, p);
    EXPECT_EQ(p.License + "/" + p.Category, "Freeware/Tool");

    // The first "Pictavio" decides, not the newer entry under the other spelling.
    EXPECT_FALSE(news.IsProduceUpdate("Pictavio", "3.1"));
    EXPECT_TRUE(news.IsProduceUpdate("Pictavio", "3.0"));
}

struct VersionCase {
    const char* installed;
    const char* file;
    bool update;
};

class ProduceUpdateTest : public NewsFileTest, public ::testing::WithParamInterface<VersionCase> {};

TEST_P(ProduceUpdateTest, InstalledVersionOrdersBeforeTheFilesByBytes) {
    const VersionCase& c = GetParam();
    TWhatsNew news(File(std::string("[Info]\r\nProduceCount=1\r\n[Produce1]\r\nName=Pictavio\r\nVersion=") +
                        c.file + "\r\n"),
                   kClock);
    EXPECT_EQ(news.IsProduceUpdate("Pictavio", c.installed), c.update)
        << "installed '" << c.installed << "', file '" << c.file << "'";
    EXPECT_FALSE(news.IsProduceUpdate("Vectavio", ""));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProduceUpdateTest,
    ::testing::Values(VersionCase{"1.0", "1.0", false}, VersionCase{"1.0", "1.0a", true},
                      VersionCase{"10.0", "9.0", true}, VersionCase{"1.9", "1.10", false},
                      VersionCase{"2.0", "2.0.1", true}, VersionCase{"2.0.1", "2.0", false},
                      VersionCase{"", "1.0", true}, VersionCase{"1.0", "", false}, VersionCase{"", "", false},
                      // Bytes are unsigned: a high byte orders after every ASCII one.
                      VersionCase{"1.a", "1.\xE9", true}, VersionCase{"1.\xE9", "1.a", false}),
    [](const auto& info) {
        auto clean = [](std::string_view t) {
            std::string out;
            for (unsigned char ch : t) out += std::isalnum(ch) ? char(ch) : ch == '.' ? 'p' : 'x';
            return out.empty() ? std::string("none") : out;
        };
        return std::to_string(info.index) + "_" + clean(info.param.installed) + "_to_" +
               clean(info.param.file);
    });

TEST_F(NewsFileTest, CountsBeyondTheEntriesGiveEmptyEntries) {
    TWhatsNew news(File("[Info]\nNewsCount=3\nProduceCount=2\n[News]\nNews1=Only one\n[Produce1]\nName=A\n"),
                   kClock);
    EXPECT_EQ(news.NewsCount, 3);
    TNews item{"x", "y", "z"};
    news.GetNews(3, item);
    EXPECT_EQ(item.Date + item.News + item.URL, "");
    EXPECT_EQ(news.ProduceNames, (std::vector<std::string>{"A", ""}));
    TProduct p;
    news.GetProduce(2, p);
    EXPECT_EQ(p.License + "/" + p.Category, "Shareware/Product");
}

TEST_F(NewsFileTest, CountsThatAreNoIntegersReadAsZeroAndHugeOnesAreBounded) {
    struct Case {
        const char* text;
        int32_t count;
    };
    const Case cases[] = {
        {"three", 0}, {"", 0}, {"2.5", 0}, {"-4", 0}, {"0x0A", 10}, {"2147483647", kMaxNewsFileEntries},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TWhatsNew news(File(std::string("[Info]\nNewsCount=") + c.text + "\nProduceCount=" + c.text + "\n"),
                       kClock);
        EXPECT_EQ(news.NewsCount, c.count);
        EXPECT_EQ(news.ProduceCount, c.count);
        EXPECT_EQ(news.ProduceNames.size(), size_t(c.count));
    }
}

TEST_F(NewsFileTest, DamagedLongTextsDecodeWithoutError) {
    struct Case {
        const char* what;
        const char* lines;
        const char* text;
        bool exact; // else text holds the bytes before the damage
    };
    // "QUJD" is "ABC".
    const Case cases[] = {
        {"stray character at the end", "WhatsNew=QUJD*\nWhatsNew_Count=5\n", "ABC", false},
        {"length not a multiple of four", "WhatsNew=QUJDRA\nWhatsNew_Count=6\n", "ABCD", true},
        {"count shorter than the text", "WhatsNew=QUJDREVG\nWhatsNew_Count=4\n", "ABC", true},
        {"count that is no number", "WhatsNew=QUJD\nWhatsNew_Count=many\n", "", true},
        {"count without text", "WhatsNew_Count=40\n", "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TWhatsNew news(File(std::string("[Info]\nProduceCount=1\n[Produce1]\nName=P\n") + c.lines), kClock);
        TProduct p;
        ASSERT_NO_THROW(news.GetProduce(1, p));
        EXPECT_EQ(c.exact ? p.WhatsNew : p.WhatsNew.substr(0, std::string_view(c.text).size()), c.text);
        if (!c.exact) {
            EXPECT_GT(p.WhatsNew.size(), std::string_view(c.text).size()) << "damaged bytes, not none";
        }
        EXPECT_NO_THROW(news.IsProduceUpdate("P", "1"));
    }
}

TEST_F(NewsFileTest, WrittenFileReadsBack) {
    std::string path = folder / "made.new";
    {
        TWhatsNew maker(path, kClock);
        maker.NewsCount = 2;
        maker.ProduceCount = 2;
        maker.UpdateWhatsNewURL = true;
        maker.WhatsNewURL = "http://news.example.net/next.new";
        maker.SaveInformation();
        maker.SaveNews(1, TNews{"2026-12-01", "Winter release", "http://example.net/w"});
        maker.SaveNews(2, TNews{"2026-12-09", "Second item", ""});
        maker.SaveProduce(1, TProduct{"Pictavio", "3.2", "5 MB", "2026-12-01", "", "Tool",
                                      "http://example.net/d", "http://example.net/s",
                                      "{\\rtf1 line one\\par\r\nline=two}", "x = y\r\n"});
        maker.SaveProduce(2, TProduct{"Vectavio", "2.0", "", "", "Freeware", "Product", "", "", "", ""});
    }
    std::string text = ReadFile(path);
    EXPECT_NE(
        text.find(
            "[Info]\r\nUpdateDate=2026-12-10\r\nNewsCount=2\r\nProduceCount=2\r\nUpdateWhatsNewURL=1\r\n"),
        std::string::npos)
        << text;
    EXPECT_NE(text.find("WhatsNew_Count="), std::string::npos);
    EXPECT_NE(text.find("License=\r\n"), std::string::npos) << "written unchanged, no default put in";

    TWhatsNew news(path, kClock);
    EXPECT_EQ(news.WhatsNewURL, "http://news.example.net/next.new");
    EXPECT_TRUE(news.UpdateWhatsNewURL);
    EXPECT_EQ(news.ProduceNames, (std::vector<std::string>{"Pictavio", "Vectavio"}));
    TNews item;
    news.GetNews(1, item);
    EXPECT_EQ(item.Date + "|" + item.News + "|" + item.URL, "2026-12-01|Winter release|http://example.net/w");
    TProduct p;
    news.GetProduce(1, p);
    EXPECT_EQ(p.Name + "|" + p.Version + "|" + p.Size + "|" + p.Date + "|" + p.License + "|" + p.Category +
                  "|" + p.DownloadURL + "|" + p.ScreenshotURL,
              "Pictavio|3.2|5 MB|2026-12-01||Tool|http://example.net/d|http://example.net/s");
    EXPECT_EQ(p.WhatsNew, "{\\rtf1 line one\\par\r\nline=two}");
    EXPECT_EQ(p.Description, "x = y\r\n");
    EXPECT_TRUE(news.IsProduceUpdate("vectavio", "1.5"));
    EXPECT_EQ(folder.Listing(), "made.new;") << "no temporary files left behind";
}

TEST_F(NewsFileTest, SavingInformationStampsTodayNotTheLoadedDate) {
    std::string path = File("[Info]\r\nUpdateDate=2020-01-01\r\nNewsCount=1\r\n");
    {
        TWhatsNew news(path, kClock);
        EXPECT_EQ(news.UpdateDate, "2020-01-01");
        news.SaveInformation();
    }
    TWhatsNew again(path, [] { return EncodeDate(2030, 1, 1); });
    EXPECT_EQ(again.UpdateDate, "2026-12-10");
    EXPECT_EQ(again.NewsCount, 1);
}

} // namespace
