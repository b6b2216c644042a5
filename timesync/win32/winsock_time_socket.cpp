#include "timesync/win32/winsock_time_socket.h"

#include <ws2tcpip.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>

namespace horalia::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"HoraliaTimeSocketWindow";
constexpr UINT kSocketMessage = WM_APP + 1;
constexpr UINT kResolvedMessage = WM_APP + 2;
constexpr UINT_PTR kReplyTimerId = 1;

}  // namespace

// What the resolver thread hands back. The socket abandons it (window cleared) when it closes
// or dies first, so a late thread neither posts to a dead window nor touches the socket.
struct WinsockTimeSocket::Resolution {
    std::mutex mutex;
    HWND window = nullptr;
    bool done = false;
    bool found = false;
    sockaddr_in address{};
};

WinsockTimeSocket::WinsockTimeSocket() {
    WSADATA data;
    winsockStarted_ = WSAStartup(MAKEWORD(2, 2), &data) == 0;

    WNDCLASSEXW windowClass{};
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterWindowClass(windowClass)) {
        CreateHandle(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, windowClass.hInstance);
    }
}

WinsockTimeSocket::~WinsockTimeSocket() {
    Close();
    if (Handle() != nullptr)
        DestroyWindow(Handle());
    if (winsockStarted_)
        WSACleanup();
}

void WinsockTimeSocket::Connect(const std::string& host, std::uint16_t port, Transport transport) {
    Close();
    if (Handle() == nullptr)
        return;  // no window to deliver events to: the socket stays closed
    open_ = true;
    transport_ = transport;
    resolution_ = std::make_shared<Resolution>();
    resolution_->window = Handle();
    try {
        std::thread(&WinsockTimeSocket::Resolve, resolution_, host, port).detach();
    } catch (const std::system_error&) {
        // No thread: report the failure the same way, as a later message.
        resolution_->done = true;
        PostMessageW(Handle(), kResolvedMessage, 0, 0);
    }
}

void WinsockTimeSocket::Send(std::string_view datagram) {
    if (socket_ != INVALID_SOCKET && transport_ == Transport::kDatagram)
        send(socket_, datagram.data(), static_cast<int>(datagram.size()), 0);
}

std::string WinsockTimeSocket::ReadAll(std::size_t maxBytes) {
    if (transport_ == Transport::kDatagram)
        return ReadDatagram(maxBytes);
    std::string data;
    char buffer[1024];
    while (socket_ != INVALID_SOCKET && data.size() < maxBytes) {
        const int wanted = static_cast<int>(std::min(sizeof buffer, maxBytes - data.size()));
        const int received = recv(socket_, buffer, wanted, 0);
        if (received <= 0)
            break;  // nothing more waiting (WSAEWOULDBLOCK), the end of the stream, or an error
        data.append(buffer, static_cast<std::size_t>(received));
    }
    return data;
}

// One datagram; a longer one than maxBytes is cut (recv then reports WSAEMSGSIZE).
std::string WinsockTimeSocket::ReadDatagram(std::size_t maxBytes) {
    char buffer[4096];
    if (socket_ == INVALID_SOCKET)
        return "";
    const int wanted = static_cast<int>(std::min(sizeof buffer, maxBytes));
    int received = recv(socket_, buffer, wanted, 0);
    if (received == SOCKET_ERROR && WSAGetLastError() == WSAEMSGSIZE)
        received = wanted;
    return received > 0 ? std::string(buffer, static_cast<std::size_t>(received)) : "";
}

void WinsockTimeSocket::Close() {
    AbandonResolution();
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
    open_ = false;
}

void WinsockTimeSocket::AbandonResolution() {
    if (!resolution_)
        return;
    {
        std::lock_guard lock(resolution_->mutex);
        resolution_->window = nullptr;
    }
    resolution_.reset();
}

LRESULT WinsockTimeSocket::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kResolvedMessage:
            OnResolved();
            return 0;
        case kSocketMessage:
            OnSocketEvent(static_cast<SOCKET>(wParam), lParam);
            return 0;
        case WM_TIMER:
            if (wParam == kReplyTimerId) {
                OnTimer();
                return 0;
            }
            break;
        default:
            break;
    }
    return Default(message, wParam, lParam);
}

void WinsockTimeSocket::OnResolved() {
    // A message from an abandoned request, or a duplicate, finds no finished resolution.
    if (!resolution_)
        return;
    bool found = false;
    sockaddr_in address{};
    {
        std::lock_guard lock(resolution_->mutex);
        if (!resolution_->done)
            return;
        found = resolution_->found;
        address = resolution_->address;
    }
    resolution_.reset();
    if (found)
        StartConnection(address);
    else
        ReportConnectFailed();
}

void WinsockTimeSocket::StartConnection(const sockaddr_in& address) {
    const bool datagrams = transport_ == Transport::kDatagram;
    socket_ = datagrams ? socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP)
                        : socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    const long events = datagrams ? FD_READ : FD_CONNECT | FD_READ | FD_CLOSE;
    if (socket_ == INVALID_SOCKET ||
        WSAAsyncSelect(socket_, Handle(), kSocketMessage, events) != 0) {
        ReportConnectFailed();
        return;
    }
    const int result =
        connect(socket_, reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (result == SOCKET_ERROR && WSAGetLastError() != WSAEWOULDBLOCK) {
        ReportConnectFailed();
    } else if (datagrams && events_ != nullptr) {
        // A UDP socket is connected at once: it only fixes the peer.
        events_->OnConnected();
    }
}

void WinsockTimeSocket::OnSocketEvent(SOCKET socket, LPARAM lParam) {
    // Events still queued for a socket that has been closed since are dropped.
    if (socket == INVALID_SOCKET || socket != socket_ || events_ == nullptr)
        return;
    switch (WSAGETSELECTEVENT(lParam)) {
        case FD_CONNECT:
            if (WSAGETSELECTERROR(lParam) != 0)
                events_->OnConnectFailed();
            else
                events_->OnConnected();
            break;
        case FD_READ: {
            // Winsock may repeat FD_READ after data has been read: only real data is an event.
            u_long waiting = 0;
            if (ioctlsocket(socket_, FIONREAD, &waiting) == 0 && waiting > 0) {
                events_->OnDataArrival(static_cast<std::int32_t>(
                    std::min<u_long>(waiting, static_cast<u_long>(INT32_MAX))));
            }
            break;
        }
        case FD_CLOSE:
            events_->OnClosedByPeer();
            break;
        default:
            break;
    }
}

void WinsockTimeSocket::ReportConnectFailed() {
    if (events_ != nullptr)
        events_->OnConnectFailed();
}

void WinsockTimeSocket::OnTimer() {
    if (replyTimer_.Expire() && events_ != nullptr)
        events_->OnReplyTimeout();
}

void WinsockTimeSocket::WindowTimer::Start(std::int32_t milliseconds) {
    if (owner_.Handle() == nullptr)
        return;
    const UINT interval = static_cast<UINT>(std::max<std::int32_t>(milliseconds, 0));
    running_ = SetTimer(owner_.Handle(), kReplyTimerId,
                        std::max<UINT>(interval, USER_TIMER_MINIMUM), nullptr) != 0;
}

void WinsockTimeSocket::WindowTimer::Stop() {
    // A WM_TIMER already in the queue is then ignored by Expire.
    running_ = false;
    if (owner_.Handle() != nullptr)
        KillTimer(owner_.Handle(), kReplyTimerId);
}

bool WinsockTimeSocket::WindowTimer::Expire() {
    if (!running_)
        return false;
    Stop();
    return true;
}

// Runs on its own thread: getaddrinfo may wait seconds for the name service. It holds its own
// Winsock reference, so the socket object may end (and clean up) while it is still waiting.
void WinsockTimeSocket::Resolve(std::shared_ptr<Resolution> resolution, const std::string& host,
                                std::uint16_t port) {
    WSADATA data;
    const bool started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_protocol = IPPROTO_TCP;
    addrinfo* results = nullptr;
    const std::string service = std::to_string(port);
    const bool resolved =
        started && getaddrinfo(host.c_str(), service.c_str(), &hints, &results) == 0;

    sockaddr_in address{};
    bool found = false;
    if (resolved && results != nullptr && results->ai_addrlen >= sizeof address) {
        std::memcpy(&address, results->ai_addr, sizeof address);
        found = true;
    }
    if (results != nullptr)
        freeaddrinfo(results);
    if (started)
        WSACleanup();

    std::lock_guard lock(resolution->mutex);
    resolution->done = true;
    resolution->found = found;
    resolution->address = address;
    if (resolution->window != nullptr)
        PostMessageW(resolution->window, kResolvedMessage, 0, 0);
}

}  // namespace horalia::win32
