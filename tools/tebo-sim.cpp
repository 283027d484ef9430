// tebo-sim: the door device, the transfer chip writer and the identifier
// reader on a pseudo-terminal, for tests and demonstrations without hardware.
//
//   tebo-sim door   [options]   device protocol: ?, P?, P, H=, C=, V, Z=
//   tebo-sim writer [options]   framed chip writer protocol with checksums
//   tebo-sim reader [options]   sends reader lines (K=..., K1=..., K2=..., K0)
//
// The first line printed is "PTY <device path>". Commands on standard input:
//   dump            print the state between "BEGIN STATE" and "END STATE"
//   chip / nochip   put a chip on the writer / take it away
//   send CODE       reader: send CODE with the current marker
//   raw TEXT        send TEXT as is (\r, \n, \\ and \xHH are understood)
//   quit
// SIGUSR1 puts a chip on the writer, or makes the reader send its next code.

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <time.h>
#include <unistd.h>
#include <vector>

namespace {

int g_sigPipe[2] = {-1, -1};

void onSignal(int sig)
{
    const char c = sig == SIGUSR1 ? 'u' : 'q';
    const int saved = errno;
    ssize_t r = ::write(g_sigPipe[1], &c, 1);
    (void)r;
    errno = saved;
}

void usage()
{
    std::fputs(
        "usage: tebo-sim door|writer|reader [options]\n"
        "common:  --link PATH  --state FILE  --pace  --split N  --split-delay MS\n"
        "         --silent N  --noise TEXT\n"
        "door:    --version TEXT  --capacity N  --codes C1,C2,...  --wrong-prefix N\n"
        "         --upper  --drop-lines N\n"
        "writer:  --version TEXT  --no-chip  --chip-after N  --bad-checksum N\n"
        "reader:  --codes C1,C2,...  --marker K=|K1=|K2=|K0|cycle  --interval MS\n"
        "         --start-delay MS  --pieces N  --garbage  --repeat\n",
        stderr);
}

struct Options {
    std::string mode;
    std::string link;
    std::string stateFile;
    bool pace = false;
    int split = 0;
    int splitDelayMs = 30;
    int silent = 0;
    std::string noise;
    // door
    std::string version;
    int capacity = 1000;
    std::vector<std::string> codes;
    int wrongPrefix = 0;
    bool upper = false;
    int dropLines = 0;
    // writer
    bool noChip = false;
    int chipAfter = 0;
    int badChecksum = 0;
    // reader
    std::string marker = "K=";
    int intervalMs = 500;
    int startDelayMs = 300;
    int pieces = 0;
    bool garbage = false;
    bool repeat = false;
};

std::vector<std::string> splitList(const std::string &s)
{
    std::vector<std::string> out;
    std::string cur;
    for (char c : s) {
        if (c == ',') {
            if (!cur.empty())
                out.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty())
        out.push_back(cur);
    return out;
}

std::string lower(std::string s)
{
    for (char &c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upperStr(std::string s)
{
    for (char &c : s)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool isHex(const std::string &s)
{
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    });
}

std::string hex2(unsigned v)
{
    char b[3];
    std::snprintf(b, sizeof b, "%02x", v & 0xffu);
    return b;
}

long long nowMs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return (long long)ts.tv_sec * 1000 + ts.tv_nsec / 1000000;
}

void sleepUs(long us)
{
    timespec ts{us / 1000000, (us % 1000000) * 1000};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {
    }
}

// Turns \r, \n, \\ and \xHH into their bytes.
std::string unescapeArg(const std::string &s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '\\' || i + 1 >= s.size()) {
            out += s[i];
            continue;
        }
        const char n = s[++i];
        if (n == 'r')
            out += '\r';
        else if (n == 'n')
            out += '\n';
        else if (n == '\\')
            out += '\\';
        else if (n == 'x' && i + 2 < s.size()) {
            const std::string h = s.substr(i + 1, 2);
            if (h.size() == 2 && isHex(h)) {
                out += char(std::strtol(h.c_str(), nullptr, 16));
                i += 2;
            } else {
                out += "\\x";
            }
        } else {
            out += '\\';
            out += n;
        }
    }
    return out;
}

class Simulator
{
public:
    explicit Simulator(const Options &o) : opt(o)
    {
        memory.assign(8160, 0);
        if (opt.mode == "door") {
            if (opt.version.empty())
                opt.version = "TAVELINO1_SIM";
            for (const auto &c : opt.codes)
                deviceCodes.push_back(lower(c));
        } else if (opt.mode == "writer") {
            if (opt.version.empty())
                opt.version = "USB1_SIM";
            chipPresent = !opt.noChip && opt.chipAfter <= 0;
        }
    }

    bool openPty()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
            std::perror("tebo-sim: pseudo-terminal");
            return false;
        }
        char name[256];
        if (::ptsname_r(master, name, sizeof name) != 0) {
            std::perror("tebo-sim: ptsname");
            return false;
        }
        slavePath = name;
        // Our own slave descriptor keeps the line up while the program
        // closes and reopens its side.
        slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios t{};
        if (slave >= 0 && ::tcgetattr(slave, &t) == 0) {
            cfmakeraw(&t);
            cfsetispeed(&t, B9600);
            cfsetospeed(&t, B9600);
            ::tcsetattr(slave, TCSANOW, &t);
        }
        const int fl = ::fcntl(master, F_GETFL);
        ::fcntl(master, F_SETFL, fl | O_NONBLOCK);
        if (!opt.link.empty()) {
            struct stat st{};
            if (::lstat(opt.link.c_str(), &st) == 0 && S_ISLNK(st.st_mode))
                ::unlink(opt.link.c_str());
            if (::symlink(name, opt.link.c_str()) != 0) {
                std::perror("tebo-sim: link");
                return false;
            }
            linked = true;
        }
        std::printf("PTY %s\n", name);
        if (linked)
            std::printf("LINK %s\n", opt.link.c_str());
        std::fflush(stdout);
        writeState();
        return true;
    }

    ~Simulator()
    {
        if (linked)
            ::unlink(opt.link.c_str());
        if (slave >= 0)
            ::close(slave);
        if (master >= 0)
            ::close(master);
    }

    int run()
    {
        nextReaderMs = nowMs() + opt.startDelayMs;
        bool stdinOpen = true;
        std::string stdinBuf;
        while (!quit) {
            pollfd fds[3] = {{master, POLLIN, 0}, {g_sigPipe[0], POLLIN, 0}, {stdinOpen ? 0 : -1, POLLIN, 0}};
            int timeout = 1000;
            if (opt.mode == "reader" && readerAutomatic())
                timeout = int(std::max(0LL, nextReaderMs - nowMs()));
            const int r = ::poll(fds, 3, timeout);
            if (r < 0 && errno != EINTR)
                return 1;
            if (fds[1].revents & POLLIN) {
                char c;
                while (::read(g_sigPipe[0], &c, 1) == 1) {
                    if (c == 'q')
                        quit = true;
                    else
                        onUser1();
                }
            }
            if (fds[0].revents & POLLIN)
                readLine();
            if (stdinOpen && (fds[2].revents & (POLLIN | POLLHUP))) {
                char buf[1024];
                const ssize_t n = ::read(0, buf, sizeof buf);
                if (n <= 0) {
                    stdinOpen = false;
                } else {
                    stdinBuf.append(buf, size_t(n));
                    size_t pos;
                    while ((pos = stdinBuf.find('\n')) != std::string::npos) {
                        std::string cmd = stdinBuf.substr(0, pos);
                        stdinBuf.erase(0, pos + 1);
                        if (!cmd.empty() && cmd.back() == '\r')
                            cmd.pop_back();
                        onCommand(cmd);
                    }
                }
            }
            if (opt.mode == "reader" && readerAutomatic() && nowMs() >= nextReaderMs) {
                sendNextReaderCode();
                nextReaderMs = nowMs() + opt.intervalMs;
            }
        }
        return 0;
    }

private:
    bool readerAutomatic() const
    {
        return opt.intervalMs > 0 && !opt.codes.empty() && (opt.repeat || readerIndex < opt.codes.size());
    }

    // ---- output ------------------------------------------------------

    void writeRaw(const char *p, size_t n)
    {
        size_t done = 0;
        while (done < n) {
            const size_t step = opt.pace ? 1 : n - done;
            const ssize_t w = ::write(master, p + done, step);
            if (w > 0) {
                done += size_t(w);
                if (opt.pace)
                    sleepUs(1042); // ten bits at 9600 baud
            } else if (w < 0 && (errno == EAGAIN || errno == EINTR)) {
                pollfd pf{master, POLLOUT, 0};
                ::poll(&pf, 1, 100);
            } else {
                return;
            }
        }
    }

    void send(const std::string &data, int pieceSize = 0)
    {
        const int piece = pieceSize > 0 ? pieceSize : opt.split;
        if (piece <= 0) {
            writeRaw(data.data(), data.size());
            return;
        }
        for (size_t i = 0; i < data.size(); i += size_t(piece)) {
            if (i > 0)
                sleepUs(long(opt.splitDelayMs) * 1000);
            writeRaw(data.data() + i, std::min(size_t(piece), data.size() - i));
        }
    }

    // ---- input -------------------------------------------------------

    void readLine()
    {
        char buf[4096];
        for (;;) {
            const ssize_t n = ::read(master, buf, sizeof buf);
            if (n <= 0)
                break;
            inbuf.append(buf, size_t(n));
        }
        if (inbuf.size() > (1u << 20))
            inbuf.erase(0, inbuf.size() - (1u << 16));
        size_t pos;
        while ((pos = inbuf.find("\r\n")) != std::string::npos) {
            std::string line = inbuf.substr(0, pos);
            inbuf.erase(0, pos + 2);
            const size_t at = line.find('@');
            if (at == std::string::npos)
                continue;
            handleRequest(line.substr(at + 1));
        }
    }

    void handleRequest(const std::string &body)
    {
        ++requests;
        if (opt.mode == "door")
            handleDoor(body);
        else if (opt.mode == "writer")
            handleWriter(body);
        else
            received.push_back(body); // the reader ignores what it is sent
        writeState();
    }

    // ---- door device -------------------------------------------------

    bool hasPasswordStep() const
    {
        return opt.version.rfind("TAVELINO1_", 0) == 0 || opt.version.rfind("SORVEL1_", 0) == 0;
    }
    bool isSorvel() const { return opt.version.rfind("SORVEL1_", 0) == 0; }

    void doorReply(const std::string &text)
    {
        std::string line = opt.noise;
        ++replies;
        line += replies <= opt.wrongPrefix ? "@X" : "@";
        line += text;
        line += "\r\n";
        send(line);
    }

    void handleDoor(const std::string &cmd)
    {
        received.push_back(cmd);
        if (requests <= opt.silent)
            return;
        if (cmd == "?") {
            doorReply("?=" + opt.version);
        } else if (cmd == "P?") {
            doorReply("P=" + std::to_string(deviceCodes.size()) + "," + std::to_string(opt.capacity));
        } else if (cmd == "P") {
            std::string out = opt.noise + "@P=" + std::to_string(deviceCodes.size()) + "\r\n";
            const size_t keep = deviceCodes.size() > size_t(std::max(0, opt.dropLines))
                ? deviceCodes.size() - size_t(std::max(0, opt.dropLines)) : 0;
            for (size_t i = 0; i < keep; ++i)
                out += "@" + (opt.upper ? upperStr(deviceCodes[i]) : deviceCodes[i]) + "\r\n";
            ++replies;
            send(out);
        } else if (cmd.rfind("H=", 0) == 0) {
            if (!hasPasswordStep() || cmd.size() != 12) {
                doorReply("ERR");
                return;
            }
            password = cmd.substr(2);
            doorReply("OK");
        } else if (cmd.rfind("C=", 0) == 0) {
            const std::string v = cmd.substr(2);
            const long code = (v.size() == 2 && isHex(v)) ? std::strtol(v.c_str(), nullptr, 16) : -1;
            if (code < 1 || code > (isSorvel() ? 50 : 30)) {
                doorReply("ERR");
                return;
            }
            openingCode = v;
            doorReply("OK");
        } else if (cmd == "V") {
            deviceCodes.clear();
            doorReply("OK");
        } else if (cmd.rfind("Z=", 0) == 0) {
            const std::string code = lower(cmd.substr(2));
            if (code.size() != 16 || !isHex(code)) {
                doorReply("ERR");
                return;
            }
            if (std::find(deviceCodes.begin(), deviceCodes.end(), code) == deviceCodes.end()) {
                if (int(deviceCodes.size()) >= opt.capacity) {
                    doorReply("ERR=FULL");
                    return;
                }
                deviceCodes.push_back(code);
            }
            doorReply("OK");
        } else {
            doorReply("ERR");
        }
    }

    // ---- chip writer -------------------------------------------------

    static std::string checksum(const std::string &s)
    {
        unsigned sum = 0;
        for (unsigned char c : s)
            sum += c;
        return hex2(sum);
    }

    static std::string escape(const std::string &s)
    {
        std::string out;
        for (char c : s) {
            if (c == '#')
                out += "#1";
            else if (c == '@')
                out += "#0";
            else if (c == '\r')
                out += "#2";
            else if (c == '\n')
                out += "#3";
            else
                out += c;
        }
        return out;
    }

    static std::string unescape(const std::string &s)
    {
        std::string out;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] == '#' && i + 1 < s.size() && s[i + 1] >= '0' && s[i + 1] <= '3') {
                static const char map[] = {'@', '#', '\r', '\n'};
                out += map[s[++i] - '0'];
            } else {
                out += s[i];
            }
        }
        return out;
    }

    void writerReply(const std::string &text)
    {
        std::string frame = "eeff" + text;
        std::string sum = checksum(frame);
        ++replies;
        if (replies <= opt.badChecksum)
            sum = hex2(unsigned(std::strtol(sum.c_str(), nullptr, 16)) + 1);
        send(opt.noise + "@" + escape(frame + sum) + "\r\n");
    }

    void handleWriter(const std::string &escaped)
    {
        const std::string frame = unescape(escaped);
        if (frame.size() < 6 || frame.compare(0, 4, "ffee") != 0
            || lower(frame.substr(frame.size() - 2)) != checksum(frame.substr(0, frame.size() - 2))) {
            ++badFrames;
            received.push_back("!" + escaped);
            return;
        }
        const std::string cmd = frame.substr(4, frame.size() - 6);
        received.push_back(cmd);
        if (requests <= opt.silent)
            return;
        if (cmd == "?") {
            writerReply("?=" + opt.version);
            return;
        }
        if (cmd.size() >= 4 && cmd[0] == 'B' && isHex(cmd.substr(1, 2))) {
            const long k = std::strtol(cmd.substr(1, 2).c_str(), nullptr, 16);
            if (k > 254) {
                writerReply("ERR");
                return;
            }
            if (!chipPresent) {
                ++chybaSent;
                if (opt.chipAfter > 0 && chybaSent >= opt.chipAfter && !opt.noChip)
                    chipPresent = true;
                send(opt.noise + "CHYBA\r\n");
                return;
            }
            const std::string kk = cmd.substr(1, 2);
            if (cmd[3] == '=' && cmd.size() == 4 + 64 && isHex(cmd.substr(4))) {
                for (int i = 0; i < 32; ++i)
                    memory[size_t(k * 32 + i)] = (unsigned char)std::strtol(cmd.substr(4 + 2 * i, 2).c_str(), nullptr, 16);
                blocksWritten.push_back(lower(kk));
                writerReply("OK");
                return;
            }
            if (cmd[3] == '?' && cmd.size() == 4) {
                std::string data;
                for (int i = 0; i < 32; ++i)
                    data += hex2(memory[size_t(k * 32 + i)]);
                blocksRead.push_back(lower(kk));
                writerReply("B" + kk + "=" + data);
                return;
            }
        }
        writerReply("ERR");
    }

    // ---- reader ------------------------------------------------------

    std::string markerFor(size_t i) const
    {
        if (opt.marker != "cycle")
            return opt.marker;
        static const char *variants[] = {"K=", "k1=", "K2=", "07K=", "xk="};
        return variants[i % 5];
    }

    void sendReaderLine(const std::string &line)
    {
        send(line, opt.pieces);
        ++linesSent;
        writeState();
    }

    void sendNextReaderCode()
    {
        if (opt.codes.empty())
            return;
        if (readerIndex >= opt.codes.size()) {
            if (!opt.repeat)
                return;
            readerIndex = 0;
        }
        if (opt.garbage && linesSent > 0) {
            static const char *junk[] = {"HELLO\r\n", "K0\r\n", "K=XYZ\r\n", "\r", "noise\n"};
            sendReaderLine(junk[garbageIndex++ % 5]);
        }
        sendReaderLine(markerFor(readerIndex) + opt.codes[readerIndex] + "\r\n");
        ++readerIndex;
    }

    // ---- control -----------------------------------------------------

    void onUser1()
    {
        if (opt.mode == "writer") {
            chipPresent = true;
            opt.noChip = false;
            writeState();
        } else if (opt.mode == "reader") {
            if (readerIndex >= opt.codes.size() && opt.repeat)
                readerIndex = 0;
            sendNextReaderCode();
        }
    }

    void onCommand(const std::string &cmd)
    {
        if (cmd == "quit") {
            quit = true;
        } else if (cmd == "dump") {
            std::printf("BEGIN STATE\n%sEND STATE\n", stateText().c_str());
            std::fflush(stdout);
        } else if (cmd == "chip") {
            onUser1();
        } else if (cmd == "nochip") {
            chipPresent = false;
            opt.noChip = true;
            writeState();
        } else if (cmd.rfind("send ", 0) == 0) {
            sendReaderLine(markerFor(linesSent) + cmd.substr(5) + "\r\n");
        } else if (cmd.rfind("raw ", 0) == 0) {
            send(unescapeArg(cmd.substr(4)));
            ++linesSent;
            writeState();
        } else if (cmd == "next") {
            onUser1();
        }
    }

    std::string stateText() const
    {
        std::string s = "mode=" + opt.mode + "\n";
        s += "requests=" + std::to_string(requests) + "\n";
        s += "replies=" + std::to_string(replies) + "\n";
        if (opt.mode == "door") {
            s += "version=" + opt.version + "\n";
            s += "password=" + password + "\n";
            s += "opening_code=" + openingCode + "\n";
            s += "capacity=" + std::to_string(opt.capacity) + "\n";
            s += "count=" + std::to_string(deviceCodes.size()) + "\n";
            for (const auto &c : deviceCodes)
                s += "code=" + c + "\n";
        } else if (opt.mode == "writer") {
            s += "version=" + opt.version + "\n";
            s += std::string("chip=") + (chipPresent ? "1" : "0") + "\n";
            s += "chyba=" + std::to_string(chybaSent) + "\n";
            s += "bad_frames=" + std::to_string(badFrames) + "\n";
            std::string w, r;
            for (const auto &k : blocksWritten)
                w += (w.empty() ? "" : ",") + k;
            for (const auto &k : blocksRead)
                r += (r.empty() ? "" : ",") + k;
            s += "written=" + w + "\n";
            s += "read=" + r + "\n";
            std::string m;
            m.reserve(memory.size() * 2);
            for (unsigned char b : memory)
                m += hex2(b);
            s += "memory=" + m + "\n";
        } else {
            s += "lines_sent=" + std::to_string(linesSent) + "\n";
        }
        for (const auto &r : received)
            s += "request=" + r + "\n";
        return s;
    }

    void writeState() const
    {
        if (opt.stateFile.empty())
            return;
        const std::string tmp = opt.stateFile + ".tmp";
        FILE *f = std::fopen(tmp.c_str(), "wb");
        if (!f)
            return;
        const std::string s = stateText();
        const bool ok = std::fwrite(s.data(), 1, s.size(), f) == s.size();
        if (std::fclose(f) == 0 && ok)
            std::rename(tmp.c_str(), opt.stateFile.c_str());
    }

    Options opt;
    int master = -1;
    int slave = -1;
    std::string slavePath;
    bool linked = false;
    bool quit = false;
    std::string inbuf;
    int requests = 0;
    int replies = 0;
    std::vector<std::string> received;
    // door
    std::vector<std::string> deviceCodes;
    std::string password;
    std::string openingCode;
    // writer
    std::vector<unsigned char> memory;
    bool chipPresent = true;
    int chybaSent = 0;
    int badFrames = 0;
    std::vector<std::string> blocksWritten, blocksRead;
    // reader
    size_t readerIndex = 0;
    int linesSent = 0;
    int garbageIndex = 0;
    long long nextReaderMs = 0;
};

bool parseInt(const char *s, int *out)
{
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(s, &end, 10);
    if (errno || !end || *end || v < 0 || v > 100000000)
        return false;
    *out = int(v);
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        usage();
        return 2;
    }
    Options o;
    o.mode = argv[1];
    if (o.mode != "door" && o.mode != "writer" && o.mode != "reader") {
        usage();
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&]() -> const char * {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "tebo-sim: %s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        auto number = [&]() {
            int v = 0;
            const char *s = value();
            if (!parseInt(s, &v)) {
                std::fprintf(stderr, "tebo-sim: %s: not a number: %s\n", a.c_str(), s);
                std::exit(2);
            }
            return v;
        };
        if (a == "--link") o.link = value();
        else if (a == "--state") o.stateFile = value();
        else if (a == "--pace") o.pace = true;
        else if (a == "--split") o.split = number();
        else if (a == "--split-delay") o.splitDelayMs = number();
        else if (a == "--silent") o.silent = number();
        else if (a == "--noise") o.noise = unescapeArg(value());
        else if (a == "--version") o.version = value();
        else if (a == "--capacity") o.capacity = number();
        else if (a == "--codes") o.codes = splitList(value());
        else if (a == "--wrong-prefix") o.wrongPrefix = number();
        else if (a == "--upper") o.upper = true;
        else if (a == "--drop-lines") o.dropLines = number();
        else if (a == "--no-chip") o.noChip = true;
        else if (a == "--chip-after") o.chipAfter = number();
        else if (a == "--bad-checksum") o.badChecksum = number();
        else if (a == "--marker") o.marker = value();
        else if (a == "--interval") o.intervalMs = number();
        else if (a == "--start-delay") o.startDelayMs = number();
        else if (a == "--pieces") o.pieces = number();
        else if (a == "--garbage") o.garbage = true;
        else if (a == "--repeat") o.repeat = true;
        else if (a == "--help" || a == "-h") { usage(); return 0; }
        else {
            std::fprintf(stderr, "tebo-sim: unknown option %s\n", a.c_str());
            usage();
            return 2;
        }
    }
    if (o.mode == "writer" && o.chipAfter > 0)
        o.noChip = false;

    // A simulator started by a test goes away with it.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (::pipe2(g_sigPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return 1;
    struct sigaction sa{};
    sa.sa_handler = onSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGUSR1, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    Simulator sim(o);
    if (!sim.openPty())
        return 1;
    return sim.run();
}
