// Side by side with libxml2, expat and pugixml: the reader with handlers that do
// nothing, file to tree, tree to file (pretty-printed), and `quillet xml format`
// against `xmllint --format` as whole processes, on a generated registry-like file and
// a generated text-heavy file (both made with a fixed seed, so every run reads the
// same bytes).
//
//   quillet_compare [--size MB] [--format-size MB] [--dir DIR] [--quillet PROGRAM]
//
// Each measurement runs in a process of its own (this program started again with
// --child), so that its peak resident memory is its own: the parent reads it from the
// child's resource usage. A child runs its operation three times and reports the
// median time; throughput is megabytes of the input file per second.
#include <expat.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <pugixml.hpp>
#include <random>
#include <string>
#include <vector>

#include "quillet/xml/ByteSink.h"
#include "quillet/xml/MemoryByteSource.h"
#include "quillet/xml/SAXReader.h"
#include "xml/dom/loader/LoadDocument.h"
#include "xml/output/XMLWriter.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// --- The input files -------------------------------------------------------------------

constexpr unsigned kSeed = 16;

// A collection registry of about `bytes` bytes: UTF-8, CR LF, tabs, title entries of ten
// `value` leaves each.
std::string RegistryFile(size_t bytes) {
  std::mt19937 random(kSeed);
  auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  static const char* const kVendors[] = {"Contoso", "Fabrikam Software", "Northwind", "Litware Inc", "Adventure Works",
                                         "Tailspin", "Proseware"};
  static const char* const kLanguages[] = {"1033", "1031", "1036", "1041", "2052", "1049"};
  std::string doc =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HTMLHelpDocInfo>\r\n\t<NextCollectionId value=\"2\"/>\r\n"
      "\t<Collections>\r\n\t\t<Collection>\r\n\t\t\t<ColNum value=\"1\"/>\r\n"
      "\t\t\t<ColName value=\"C:\\WINDOWS\\Help\\hhcolreg.col\"/>\r\n\t\t</Collection>\r\n\t</Collections>\r\n"
      "\t<DocCompilations>\r\n";
  char entry[2048];
  for (unsigned n = 0; doc.size() < bytes; ++n) {
    const char* vendor = kVendors[pick(7)];
    const unsigned product = pick(400);
    std::snprintf(entry, sizeof entry,
                  "\t\t<DocCompilation>\r\n"
                  "\t\t\t<DocCompId value=\"%s_%u_title%u\"/>\r\n"
                  "\t\t\t<DocCompLanguage value=\"%s\"/>\r\n"
                  "\t\t\t<LocationHistory>\r\n"
                  "\t\t\t\t<ColNum value=\"1\"/>\r\n"
                  "\t\t\t\t<TitleLocation value=\"C:\\Program Files\\%s\\Product %u\\Help\\title%u.chm\"/>\r\n"
                  "\t\t\t\t<IndexLocation value=\"C:\\Program Files\\%s\\Product %u\\Help\\title%u.chi\"/>\r\n"
                  "\t\t\t\t<QueryLocation value=\"\"/>\r\n"
                  "\t\t\t\t<LocationRef value=\"%s\"/>\r\n"
                  "\t\t\t\t<Version value=\"%u\"/>\r\n"
                  "\t\t\t\t<LastPromptedVersion value=\"%u\"/>\r\n"
                  "\t\t\t\t<SupportsMerge value=\"%u\"/>\r\n"
                  "\t\t\t</LocationHistory>\r\n"
                  "\t\t</DocCompilation>\r\n",
                  vendor, product, n, kLanguages[pick(6)], vendor, product, n, vendor, product, n,
                  pick(4) == 0 ? "" : "TESSALY-10-Local", 1000000u + pick(900000), pick(2) == 0 ? 0u : 1000000u + n,
                  pick(2));
    doc += entry;
  }
  doc += "\t</DocCompilations>\r\n</HTMLHelpDocInfo>\r\n";
  return doc;
}

// Paragraphs of prose of about `bytes` bytes: mostly ASCII words, some accented ones,
// entity and character references, a few inline elements, line feeds inside the text.
std::string TextFile(size_t bytes) {
  std::mt19937 random(kSeed);
  auto pick = [&](unsigned n) { return static_cast<unsigned>(random() % n); };
  static const char* const kWords[] = {
      "the",   "quick", "brown", "fox",    "jumps",   "over",     "lazy",  "dog",    "and",  "of",    "to",
      "a",     "in",    "help",  "title",  "file",    "registry", "entry", "window", "page", "index", "search",
      "topic", "when",  "which", "should", "without", "between",  "other", "every",  "café", "naïve", "déjà",
      "über",  "Ærø",   "€10",   "&amp;",  "&lt;b&gt;", "&quot;ok&quot;", "it&#8217;s", "&#233;t&#233;"};
  constexpr unsigned kWordCount = sizeof kWords / sizeof kWords[0];
  std::string doc = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<book>\n";
  unsigned chapter = 0;
  while (doc.size() < bytes) {
    const std::string number = std::to_string(++chapter);
    doc += "<chapter n=\"" + number + "\">\n<title>Chapter " + number + "</title>\n";
    for (unsigned p = 0, paragraphs = 5 + pick(20); p < paragraphs; ++p) {
      doc += "<p>";
      size_t line = 0;
      for (unsigned w = 0, words = 40 + pick(400); w < words; ++w) {
        // Most words are plain; now and then one is emphasised.
        const char* word = kWords[pick(kWordCount)];
        if (pick(40) == 0) {
          doc += "<em>";
          doc += word;
          doc += "</em>";
        } else {
          doc += word;
        }
        line += std::strlen(word) + 1;
        if (line > 72) {
          doc += '\n';
          line = 0;
        } else {
          doc += pick(12) == 0 ? ", " : " ";
        }
      }
      doc += "</p>\n";
    }
    doc += "</chapter>\n";
  }
  doc += "</book>\n";
  return doc;
}

void WriteFileBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string Wide(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

// --- The operations, one library each ----------------------------------------------------

// UTF-8 to UTF-16 into a reused buffer, as a caller of expat wanting UTF-16 must do.
void ToUtf16(const char* s, size_t n, std::u16string& out) {
  out.clear();
  for (size_t i = 0; i < n;) {
    const auto b = static_cast<unsigned char>(s[i]);
    char32_t c;
    if (b < 0x80) {
      c = b;
      i += 1;
    } else if (b < 0xE0) {
      c = (b & 0x1Fu) << 6 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu);
      i += 2;
    } else if (b < 0xF0) {
      c = (b & 0x0Fu) << 12 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 6 |
          (static_cast<unsigned char>(s[i + 2]) & 0x3Fu);
      i += 3;
    } else {
      c = (b & 0x07u) << 18 | (static_cast<unsigned char>(s[i + 1]) & 0x3Fu) << 12 |
          (static_cast<unsigned char>(s[i + 2]) & 0x3Fu) << 6 | (static_cast<unsigned char>(s[i + 3]) & 0x3Fu);
      i += 4;
    }
    if (c >= 0x10000) {
      out.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
}

struct ExpatState {
  std::u16string name, value, text;
};

void ExpatStart(void* user, const XML_Char* name, const XML_Char** attributes) {
  auto* state = static_cast<ExpatState*>(user);
  ToUtf16(name, std::strlen(name), state->name);
  for (const XML_Char** a = attributes; *a != nullptr; a += 2) {
    ToUtf16(a[0], std::strlen(a[0]), state->name);
    ToUtf16(a[1], std::strlen(a[1]), state->value);
  }
}
void ExpatEnd(void* user, const XML_Char* name) { ToUtf16(name, std::strlen(name), static_cast<ExpatState*>(user)->name); }
void ExpatText(void* user, const XML_Char* s, int n) {
  ToUtf16(s, static_cast<size_t>(n), static_cast<ExpatState*>(user)->text);
}

void LibxmlStart(void*, const xmlChar*, const xmlChar*, const xmlChar*, int, const xmlChar**, int, int,
                 const xmlChar**) {}
void LibxmlEnd(void*, const xmlChar*, const xmlChar*, const xmlChar*) {}
void LibxmlText(void*, const xmlChar*, int) {}

bool Events(const std::string& lib, const std::string& bytes) {
  if (lib == "quillet") {
    quillet::xml::CSAXContentHandler nothing;
    quillet::xml::CSAXReader reader;
    reader.setContentHandler(&nothing);
    quillet::xml::CMemoryByteSource source(bytes.data(), bytes.size());
    try {
      reader.parse(source, false);
    } catch (...) {
      return false;
    }
    return true;
  }
  if (lib == "libxml2") {
    xmlSAXHandler handler;
    std::memset(&handler, 0, sizeof handler);
    handler.initialized = XML_SAX2_MAGIC;
    handler.startElementNs = LibxmlStart;
    handler.endElementNs = LibxmlEnd;
    handler.characters = LibxmlText;
    return xmlSAXUserParseMemory(&handler, nullptr, bytes.data(), static_cast<int>(bytes.size())) == 0;
  }
  if (lib == "expat") {
    ExpatState state;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &state);
    XML_SetElementHandler(parser, ExpatStart, ExpatEnd);
    XML_SetCharacterDataHandler(parser, ExpatText);
    const bool ok = XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), 1) == XML_STATUS_OK;
    XML_ParserFree(parser);
    return ok;
  }
  return false;
}

// A loaded tree of any of the three libraries; `save` writes it pretty-printed.
struct Tree {
  quillet::xml::DocumentPtr quillet;
  quillet::xml::XMLDeclInfo info;
  xmlDocPtr libxml2 = nullptr;
  pugi::xml_document pugixml;
  bool loaded = false;

  ~Tree() {
    if (libxml2 != nullptr) xmlFreeDoc(libxml2);
  }

  void load(const std::string& lib, const std::string& path) {
    if (lib == "quillet") {
      quillet = quillet::xml::LoadDocumentFile(Wide(path), info).document;
      loaded = quillet != nullptr;
    } else if (lib == "libxml2") {
      libxml2 = xmlReadFile(path.c_str(), nullptr, 0);
      loaded = libxml2 != nullptr;
    } else if (lib == "pugixml") {
      loaded = static_cast<bool>(pugixml.load_file(path.c_str()));
    }
  }

  // The writer over a plain file, as the other two write theirs: no temporary, no sync.
  bool save(const std::string& lib, const std::string& path) {
    if (lib == "quillet") {
      quillet::xml::CFileByteSink sink;
      if (!sink.open(path)) return false;
      quillet::xml::CXMLWriter writer;
      writer.setByteSink(&sink);
      writer.selectEncoding(info.encoding);
      const bool written = writer.writeDocument(quillet.get(), &info);
      sink.close();
      return written && !sink.failed();
    }
    if (lib == "libxml2") return xmlSaveFormatFileEnc(path.c_str(), libxml2, "UTF-8", 1) > 0;
    if (lib == "pugixml") return pugixml.save_file(path.c_str(), "\t", pugi::format_indent, pugi::encoding_utf8);
    return false;
  }
};

double Seconds(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// Runs one measurement three times; prints the median in seconds, or "failed".
int Child(const std::string& op, const std::string& lib, const std::string& path, const std::string& out) {
  std::vector<double> times;
  for (int run = 0; run < 3; ++run) {
    if (op == "events") {
      const std::string bytes = ReadFileBytes(path);
      const Clock::time_point start = Clock::now();
      if (!Events(lib, bytes)) return std::puts("failed"), 1;
      times.push_back(Seconds(start));
    } else if (op == "load") {
      auto tree = std::make_unique<Tree>();
      const Clock::time_point start = Clock::now();
      tree->load(lib, path);
      times.push_back(Seconds(start));
      if (!tree->loaded) return std::puts("failed"), 1;
    } else if (op == "save") {
      static Tree tree;  // loaded once, saved three times
      if (!tree.loaded) tree.load(lib, path);
      if (!tree.loaded) return std::puts("failed"), 1;
      const Clock::time_point start = Clock::now();
      if (!tree.save(lib, out)) return std::puts("failed"), 1;
      times.push_back(Seconds(start));
    } else {
      return 2;
    }
  }
  std::sort(times.begin(), times.end());
  std::printf("%.6f\n", times[1]);
  return 0;
}

// --- The parent: running children and whole programs ------------------------------------

struct Measure {
  bool ok = false;
  double seconds = 0;
  double peakMB = 0;
};

// Starts `argv` with standard output into a pipe; returns its output and peak memory.
Measure Spawn(const std::vector<std::string>& argv, std::string* output, bool quiet) {
  Measure m;
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return m;
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(pipeEnds[1], 1);
    if (quiet) {
      const int null = ::open("/dev/null", 1);
      if (null >= 0) dup2(null, 2);
    }
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
  close(pipeEnds[0]);
  int status = 0;
  struct rusage usage {};
  if (wait4(pid, &status, 0, &usage) != pid) return m;
  m.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  m.peakMB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  if (output != nullptr) *output = text;
  return m;
}

std::string gSelf;

Measure RunChild(const std::string& op, const std::string& lib, const std::string& path, const std::string& out) {
  std::string text;
  Measure m = Spawn({gSelf, "--child", op, lib, path, out}, &text, false);
  if (m.ok) m.seconds = std::strtod(text.c_str(), nullptr);
  m.ok = m.ok && m.seconds > 0;
  return m;
}

// A whole program, three times: the median wall-clock time and the largest peak.
Measure RunProgram(const std::vector<std::string>& argv) {
  std::vector<double> times;
  Measure result;
  for (int run = 0; run < 3; ++run) {
    const Clock::time_point start = Clock::now();
    const Measure m = Spawn(argv, nullptr, true);
    times.push_back(Seconds(start));
    if (!m.ok) return result;
    result.peakMB = std::max(result.peakMB, m.peakMB);
  }
  std::sort(times.begin(), times.end());
  result.ok = true;
  result.seconds = times[1];
  return result;
}

struct Row {
  std::string label;
  std::string op;
  std::string file;
  std::vector<std::string> others;
  // The target: our speed against `against`'s at least `speed` times, and (when
  // `memory` is not 0) our peak at most `memory` times theirs.
  std::string against;
  double speed;
  double memory;
};

std::string Cell(const Measure& m, double megabytes) {
  if (!m.ok) return "failed";
  char text[64];
  std::snprintf(text, sizeof text, "%6.0f MB/s %5.0f MB", megabytes / m.seconds, m.peakMB);
  return text;
}

int Parent(size_t sizeMB, size_t formatMB, const fs::path& dir, const std::string& quilletProgram) {
  fs::create_directories(dir);
  const std::string registry = (dir / "registry.xml").string();
  const std::string text = (dir / "text.xml").string();
  const std::string small = (dir / "registry-format.xml").string();
  const std::string out = (dir / "out.xml").string();
  std::printf("generating %zu MB files in %s (seed %u)...\n", sizeMB, dir.c_str(), kSeed);
  WriteFileBytes(registry, RegistryFile(sizeMB * 1000000));
  WriteFileBytes(text, TextFile(sizeMB * 1000000));
  WriteFileBytes(small, RegistryFile(formatMB * 1000000));
  std::map<std::string, double> megabytes;
  for (const std::string& f : {registry, text, small}) megabytes[f] = static_cast<double>(fs::file_size(f)) / 1e6;
  std::printf("registry %.1f MB, text %.1f MB; MB/s of input, median of 3; peak = the process's peak resident "
              "memory\n\n",
              megabytes[registry], megabytes[text]);

  const std::vector<Row> rows = {
      {"events, registry", "events", registry, {"libxml2", "expat"}, "libxml2", 2.0, 0},
      {"events, text", "events", text, {"libxml2", "expat"}, "libxml2", 3.0, 0},
      {"file to tree, registry", "load", registry, {"libxml2", "pugixml"}, "pugixml", 1.0, 1.0},
      {"file to tree, text", "load", text, {"libxml2", "pugixml"}, "pugixml", 1.0, 1.2},
      {"tree to file, pretty, registry", "save", registry, {"libxml2", "pugixml"}, "pugixml", 0.75, 0},
      {"tree to file, pretty, text", "save", text, {"libxml2", "pugixml"}, "pugixml", 0.75, 0},
  };
  std::printf("%-31s %-22s %-22s %-22s %s\n", "operation", "quillet", "libxml2", "expat / pugixml", "ratio, target");
  int missed = 0;
  for (const Row& row : rows) {
    const double mb = megabytes[row.file];
    const Measure ours = RunChild(row.op, "quillet", row.file, out);
    std::map<std::string, Measure> theirs;
    for (const std::string& lib : row.others) theirs[lib] = RunChild(row.op, lib, row.file, out);
    const Measure& target = theirs[row.against];
    std::string verdict = "n/a";
    if (ours.ok && target.ok) {
      const double speed = target.seconds / ours.seconds;
      const double memory = ours.peakMB / target.peakMB;
      const bool met = speed >= row.speed && (row.memory == 0 || memory <= row.memory);
      missed += met ? 0 : 1;
      char text[160];
      if (row.memory != 0) {
        std::snprintf(text, sizeof text, "%.2fx %s speed, %.2fx its peak (>= %.2fx, <= %.1fx): %s", speed,
                      row.against.c_str(), memory, row.speed, row.memory, met ? "met" : "MISSED");
      } else {
        std::snprintf(text, sizeof text, "%.2fx %s (>= %.2fx): %s", speed, row.against.c_str(), row.speed,
                      met ? "met" : "MISSED");
      }
      verdict = text;
      for (const auto& [lib, m] : theirs) {
        if (lib == row.against || !m.ok) continue;
        std::snprintf(text, sizeof text, "; %.2fx %s", m.seconds / ours.seconds, lib.c_str());
        verdict += text;
      }
    }
    std::printf("%-31s %-22s %-22s %-22s %s\n", row.label.c_str(), Cell(ours, mb).c_str(),
                Cell(theirs[row.others[0]], mb).c_str(), Cell(theirs[row.others[1]], mb).c_str(), verdict.c_str());
    std::fflush(stdout);
  }

  // Whole processes: the tool loads and saves as a collection save does (a temporary
  // file, synced, then renamed over the target).
  const Measure ours = RunProgram({quilletProgram, "xml", "format", small, out});
  const Measure xmllint = RunProgram({"/usr/bin/xmllint", "--format", small, "--output", out});
  const double mb = megabytes[small];
  char label[64];
  std::snprintf(label, sizeof label, "quillet xml format, %.0f MB", mb);
  std::string verdict = "n/a";
  if (ours.ok && xmllint.ok) {
    const double speed = xmllint.seconds / ours.seconds;
    missed += speed >= 3.0 ? 0 : 1;
    char text[96];
    std::snprintf(text, sizeof text, "%.2fx xmllint --format (>= 3.00x): %s", speed, speed >= 3.0 ? "met" : "MISSED");
    verdict = text;
  }
  std::printf("%-31s %-22s %-22s %-22s %s\n", label, Cell(ours, mb).c_str(), Cell(xmllint, mb).c_str(), "",
              verdict.c_str());
  std::printf("\n%s\n", missed == 0 ? "every target met" : (std::to_string(missed) + " target(s) missed").c_str());
  fs::remove(out);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  gSelf = fs::canonical("/proc/self/exe").string();
  if (args.size() == 5 && args[0] == "--child") return Child(args[1], args[2], args[3], args[4]);
  size_t sizeMB = 50, formatMB = 20;
  fs::path dir = fs::temp_directory_path() / "quillet-compare";
  std::string quilletProgram = (fs::path(gSelf).parent_path().parent_path().parent_path() / "tools/quillet/quillet").string();
  for (size_t i = 0; i + 1 < args.size(); i += 2) {
    if (args[i] == "--size") sizeMB = std::strtoul(args[i + 1].c_str(), nullptr, 10);
    else if (args[i] == "--format-size") formatMB = std::strtoul(args[i + 1].c_str(), nullptr, 10);
    else if (args[i] == "--dir") dir = args[i + 1];
    else if (args[i] == "--quillet") quilletProgram = args[i + 1];
    else return std::fprintf(stderr, "unknown option %s\n", args[i].c_str()), 2;
  }
  if (args.size() % 2 != 0 || sizeMB == 0 || formatMB == 0) {
    std::fprintf(stderr, "usage: quillet_compare [--size MB] [--format-size MB] [--dir DIR] [--quillet PROGRAM]\n");
    return 2;
  }
  return Parent(sizeMB, formatMB, dir, quilletProgram);
}
