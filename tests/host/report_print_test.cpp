// The patient's report as a therapist prints it: a real browser (Debian's
// Chromium, headless) prints the report of a test history to PDF, whose
// text must hold the patient, every time and the best, and takes a
// screenshot of the page, on which the chart's lines must show.
#include "menu/exercises.h"
#include "menu/report.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r")) {
        std::array<char, 4096> chunk;
        size_t n = 0;
        while ((n = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) out.append(chunk.data(), n);
        pclose(pipe);
    }
    return out;
}

std::string quoted(const fs::path& p) {
    std::string text = "'";
    text += p.string();
    text += "'";
    return text;
}

// Chromium as the project installs it; headless, as root in a container.
std::string chromium(const std::string& what, const fs::path& page) {
    return "chromium --headless --no-sandbox --disable-gpu --no-first-run --hide-scrollbars " + what + " " +
           quoted(page);
}

menu::HistoryRecord trial(int day, const char* exercise, int hundredths, const char* session, int number) {
    return {{2026, 11, day, 9, 30 + number, 0}, "Joana d'Arc & Filhos", exercise, hundredths, session, number, ""};
}

class ReportPrint : public ::testing::Test {
protected:
    void SetUp() override {
        // The project installs them: missing, the report went unchecked.
        if (run("command -v chromium").empty() || run("command -v pdftotext").empty() ||
            run("command -v convert").empty())
            GTEST_FAIL() << "needs chromium, pdftotext and convert (tools/deps.sh installs them)";
        dir_ = fs::temp_directory_path() / ("te-report-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        std::error_code ignored;
        if (!dir_.empty()) fs::remove_all(dir_, ignored);
    }
    fs::path dir_;
};

TEST_F(ReportPrint, ABrowserPrintsEveryTimeAndDrawsTheChart) {
    const std::vector<menu::HistoryRecord> history = {
        trial(3, "Abelha", 612, "a", 1), trial(3, "Abelha", 845, "a", 2), trial(3, "Abelha", 790, "a", 3),
        trial(10, "Abelha", 905, "b", 1), trial(10, "Abelha", 988, "b", 2),
        trial(17, "Abelha", 1104, "c", 1),
        trial(10, "Barco", 450, "d", 1), trial(17, "Barco", 520, "e", 1),
    };
    const fs::path page = dir_ / "relatorio.html";
    std::ofstream(page, std::ios::binary) << menu::reportHtml("Joana d'Arc & Filhos", {2026, 12, 9, 10, 0, 0}, history);

    const fs::path pdf = dir_ / "relatorio.pdf";
    run(chromium("--no-pdf-header-footer --print-to-pdf=" + quoted(pdf), page));
    ASSERT_TRUE(fs::exists(pdf)) << "Chromium printed nothing";
    const std::string text = run("pdftotext -layout " + quoted(pdf) + " -");
    for (const std::string part : {"Joana d'Arc & Filhos", "Relatório de evolução", "09/12/2026", "03/11/2026",
                                   "Melhor", "Média", "Observações", "00:06:12", "00:08:45", "00:07:90", "00:09:05",
                                   "00:09:88", "00:11:04", "00:04:50", "00:05:20", "(tentativa 2)", "00:07:49"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " not in the printed report:\n" << text;

    // The page as it shows: the bee's and the boat's lines in their colours.
    const fs::path shot = dir_ / "relatorio.png";
    run("cd " + quoted(dir_) + " && " + chromium("--window-size=900,1400 --screenshot=" + quoted(shot), page));
    ASSERT_TRUE(fs::exists(shot)) << "Chromium took no screenshot";
    const std::string ppm = run("convert " + quoted(shot) + " -strip -depth 8 ppm:-");
    unsigned width = 0, height = 0, maxValue = 0;
    int header = 0;
    ASSERT_EQ(std::sscanf(ppm.c_str(), "P6 %u %u %u%n", &width, &height, &maxValue, &header), 3) << ppm.substr(0, 20);
    const size_t pixels = ppm.size() - static_cast<size_t>(header) - 1;
    ASSERT_GE(pixels, size_t{width} * height * 3);
    for (const char* name : {"Abelha", "Barco"}) {
        const menu::Exercise& e = menu::exercises()[*menu::exerciseNamed(name)];
        int count = 0;
        for (size_t at = static_cast<size_t>(header) + 1; at + 2 < ppm.size(); at += 3) {
            const auto near = [](unsigned char got, uint8_t want) { return std::abs(int{got} - int{want}) <= 12; };
            if (near(static_cast<unsigned char>(ppm[at]), e.red) && near(static_cast<unsigned char>(ppm[at + 1]), e.green) &&
                near(static_cast<unsigned char>(ppm[at + 2]), e.blue))
                ++count;
        }
        // A line across the chart is hundreds of pixels; the legend's square alone is 144.
        EXPECT_GT(count, 600) << name << "'s line";
    }
    std::error_code ignored;
    fs::copy_file(pdf, fs::path(TE_OUT_DIR) / "relatorio-teste.pdf", fs::copy_options::overwrite_existing, ignored);
    fs::copy_file(shot, fs::path(TE_OUT_DIR) / "relatorio-teste.png", fs::copy_options::overwrite_existing, ignored);
}

}  // namespace
