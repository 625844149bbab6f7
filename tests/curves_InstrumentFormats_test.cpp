#include <algorithm>
#include <memory>
#include <tuple>

#include "commands/FileCommands.h"
#include "curves/DataFile.h"
#include "curves/InstrumentFormats.h"
#include "tests/TestSupport.h"

namespace zemra {
namespace {

const std::string kInstruments = std::string(ZEMRA_TEST_DATA) + "/instruments/";

// The sample files hold cycles between 0.2 V and -0.3 V whose forward current is
// -1e-5 A * exp(-((E + 0.1) / 0.05)^2) in the instrument's sign: -10 µA at E = -0.1 V.
TEST(InstrumentFormats, EachSampleReadsItsPointsUnitsAndCycles) {
    const struct {
        const char* File;
        const char* Format;
        size_t Points, Row;  // a forward point at E = -0.1 V
        double Shift;        // EC-Lab's measured Ewe lies 0.2 mV above the control potential
        int Cycles;
        double ScanRate;
        bool Eoc, Comma;
    } cases[] = {
        {"chi_cv.txt", "CH Instruments text export", 41, 12, 0, 1, 0.1, false, false},
        {"chi_bipot.txt", "CH Instruments text export", 21, 6, 0, 1, 0.05, false, false},
        {"eclab_cv.mpt", "BioLogic EC-Lab ASCII", 41, 6, 2e-4, 2, 0.1, false, true},
        {"gamry_cv.DTA", "Gamry Framework DTA", 43, 6, 0, 3, 0.1, true, false},
        {"nova_cv.txt", "Metrohm Autolab NOVA ASCII", 41, 6, 0, 2, 0, false, true},
        {"palmsens_cv.csv", "PalmSens PSTrace CSV", 42, 6, 0, 2, 0, false, false},
        {"generic_semicolon.csv", "delimited text", 21, 6, 0, 1, 0, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.File);
        const ImportedFile f = ReadAnyDataFile(kInstruments + c.File);
        const MeasuredCurve& m = f.Measured;
        ASSERT_FALSE(f.Plain);
        EXPECT_EQ(m.Format, c.Format);
        ASSERT_EQ(m.E.size(), c.Points);
        ASSERT_EQ(m.I.size(), c.Points);
        const auto [lo, hi] = std::minmax_element(m.E.begin(), m.E.end());
        EXPECT_RELABS_NEAR(*lo, -0.3 + c.Shift, 0, 1e-12);
        EXPECT_RELABS_NEAR(*hi, 0.2 + c.Shift, 0, 1e-12);
        EXPECT_RELABS_NEAR(m.E[c.Row], -0.1 + c.Shift, 0, 1e-12);
        EXPECT_REL_NEAR(m.I[c.Row], -1e-5, 1e-4);
        EXPECT_EQ(CyclesFound(m), c.Cycles);
        EXPECT_REL_NEAR(m.ScanRate, c.ScanRate, 1e-12);
        EXPECT_EQ(std::make_pair(m.VsOpenCircuit, m.DecimalComma), std::make_pair(c.Eoc, c.Comma));
    }
    EXPECT_EQ(ReadAnyDataFile(kInstruments + "palmsens_cv.csv").Encoding, "UTF-16LE");
    EXPECT_EQ(ReadAnyDataFile(kInstruments + "eclab_cv.mpt").Encoding, "Latin-1");
}

TEST(InstrumentFormats, TextIsDecodedByMarkThenUtf8ThenLatin1) {
    const struct {
        std::string Bytes, Text, Encoding;
    } cases[] = {
        {"1 \xC2\xB5"
         "A",
         "1 \xC2\xB5"
         "A",
         "UTF-8"},
        {"\xEF\xBB\xBF"
         "E/V",
         "E/V", "UTF-8"},
        {"1 \xB5"
         "A cm\xB2",
         "1 \xC2\xB5"
         "A cm\xC2\xB2",
         "Latin-1"},
        {std::string("\xFF\xFE"
                     "E\0/\0\xB5\0\x3D\xD8\x00\xDE",
                     12),
         "E/\xC2\xB5\xF0\x9F\x98\x80", "UTF-16LE"},
        {std::string("\xFE\xFF\0E\0\r\0\n", 8), "E\r\n", "UTF-16BE"},
    };
    for (const auto& c : cases) {
        std::string encoding;
        EXPECT_EQ(DecodeText(c.Bytes, &encoding), c.Text);
        EXPECT_EQ(encoding, c.Encoding);
    }
    for (const std::string& binary : {std::string("IDF\0\1", 5), std::string("\x01\x02ZAHNER")})
        EXPECT_EQ(test::ErrorOf([&] { DecodeText(binary); }), kNotTextExport);
}

TEST(InstrumentFormats, DelimitedLayoutsAndTheProgramsOwn) {
    const struct {
        const char* Text;
        bool Own;
        size_t Points;
        double E2, I2;  // the second point, V and A
    } cases[] = {
        {"0.1,1\r\n0.2,2\r\n", true, 0, 0, 0},
        {"0.1,1,0.2,2\r\n", true, 0, 0, 0},
        {"0.3,1,5\r\n0.2,2,6\r\n0.4,3,7\r\n", true, 0, 0, 0},  // first column not monotonic
        {"0,1;1,5\r\n0,2;2,5\r\n", false, 2, 0.2, 2.5},
        {"0.1\t1\r\n0.2\t2\r\n", false, 2, 0.2, 2},
        {"0,0\t0,1\t1\r\n0,5\t0,2\t2\r\n", false, 2, 0.2, 2},  // t, E, I
        {"1,0.5,3\r\n2,0.6,4\r\n", false, 2, 0.6, 4},
        {"E/mV,I/nA\r\n100,1\r\n200,2\r\n", false, 2, 0.2, 2e-9},
        {"Time (s)\tCurrent [mA]\tPotential [V]\r\n0\t1\t0.1\r\n1\t2\t0.2\r\n", false, 2, 0.2,
         2e-3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Text);
        MeasuredCurve m;
        EXPECT_EQ(ReadInstrumentText(c.Text, m), !c.Own);
        if (c.Own) continue;
        ASSERT_EQ(m.E.size(), c.Points);
        EXPECT_REL_NEAR(m.E[1], c.E2, 1e-14);
        EXPECT_REL_NEAR(m.I[1], c.I2, 1e-14);
    }
}

TEST(InstrumentFormats, BrokenFilesNameTheirLine) {
    const std::string longTitle = "Stray export " + std::string(100, 'x');
    const struct {
        std::string Text, Error;
    } cases[] = {
        {"Instrument log\r\nno numbers here\r\n",
         "unknown data file layout, first line: \"Instrument log\""},
        {longTitle + "\r\nmore text\r\n",
         "unknown data file layout, first line: \"" + longTitle.substr(0, 80) + "\""},
        {"Init E (V) = 0.2\nPotential/V, Current/A\n0.1, 1e-6\n0.2\n", "truncated row in line 4"},
        {"Init E (V) = 0.2\nPotential/V, Current/A\n0.1, 1e-6\n0.2, x\n",
         "Type mismatch in line 4"},
        {"EC-Lab ASCII FILE\nNb header lines : 99\n",
         "EC-Lab header line count unreadable in line 2"},
        {"EC-Lab ASCII FILE\nNb header lines : 3\nmode\tEwe/V\t<I>/mA\n1\t0,1\n",
         "truncated row in line 4"},
        {"EXPLAIN\nCURVE1\tTABLE\t2\n\tPt\tVf\tIm\n\t#\tV\tA\n\t0\t0.1\t1e-6\n\t1\t0.2\n",
         "truncated row in line 6"},
        {"WE(1).Potential (V);WE(1).Current (A)\n0,1;1\n0,2;\n", "Type mismatch in line 3"},
    };
    for (const auto& c : cases) {
        MeasuredCurve m;
        EXPECT_EQ(test::ErrorOf([&] { ReadInstrumentText(c.Text, m); }), c.Error) << c.Text;
    }
}

// A plain data file with a byte-order mark, or in UTF-16, imports as the plain file does.
TEST(InstrumentFormats, PlainFileWithAByteOrderMarkReadsTheSame) {
    const std::string plain = test::ReadFile(std::string(ZEMRA_TEST_DATA) + "/wave201.csv");
    const auto utf16 = [&](bool big) {
        std::string out = big ? "\xFE\xFF" : "\xFF\xFE";
        for (const char ch : plain) out += big ? std::string{'\0', ch} : std::string{ch, '\0'};
        return out;
    };
    const auto import = [](const std::string& bytes) {
        auto b = std::make_unique<test::Bench>();
        b->host.FileAnswers.push_back(test::WriteTempFile("bom.csv", bytes));
        mnuImport(b->wb);
        return b;
    };
    const auto ref = import(plain);
    ASSERT_EQ(ref->wb.Curves.NoOfData, 201);
    for (const std::string& bytes : {"\xEF\xBB\xBF" + plain, utf16(false), utf16(true)}) {
        const auto b = import(bytes);
        const CurveStore &s = b->wb.Curves, &r = ref->wb.Curves;
        EXPECT_EQ(b->host.Messages, ref->host.Messages);
        EXPECT_EQ(b->wb.Result.Lines, ref->wb.Result.Lines);
        EXPECT_EQ(b->wb.Input.TextOf("Estart") + b->wb.Input.TextOf("Estep"),
                  ref->wb.Input.TextOf("Estart") + ref->wb.Input.TextOf("Estep"));
        EXPECT_EQ(s.NoOfData, r.NoOfData);
        EXPECT_TRUE(std::equal(s.X.Data(), s.X.Data() + kRows, r.X.Data()));
        EXPECT_TRUE(std::equal(s.Y.Column(0), s.Y.Column(0) + 6 * kRows, r.Y.Column(0)));
    }
    // The same holds for a plain file's faults: the line numbers are the plain file's.
    const std::string bad = "0.1,1\r\n0.2,x\r\n";
    EXPECT_EQ(import("\xEF\xBB\xBF" + bad)->host.Messages, import(bad)->host.Messages);
}

}  // namespace
}  // namespace zemra
