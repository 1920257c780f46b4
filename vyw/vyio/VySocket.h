#pragma once

#include <netinet/in.h>
#include <sys/socket.h>

#include <memory>
#include <mutex>
#include <vector>

#include "vyio/VyIO.h"
#include "vyio/VySocketHandle.h"
#include "vyio/VySocketWriter.h"

class VySocketAddress;

// Why the last operation of a socket failed.
enum class VySocketFailure
{
    None,           // the last operation succeeded, or none failed yet
    HostNotFound,   // Connect: the name has no address ("Could not find host.")
    AddressInUse,   // Bind, Listen: another socket serves the port
    PrivilegedPort, // Bind, Listen: ordinary users may not serve a port that low, and this process is one
    Closed,         // the socket was closed on this side (Close from any thread, an overflow, a failed
                    // send) before or while the operation ran
    Overflow,       // Write: the peer let too many bytes wait; the connection was closed
    System,         // any other refusal of the system; the text says which
};

// A TCP socket as a stream and a message target: a connection (by Connect, or handed over by Accept)
// or a socket that serves a port (see VyListenSocket). One object is reused for many connections; each
// new one replaces the last.
//
// Threads. The blocking calls (Connect, Accept, Read) belong on worker threads. Close may come from any
// thread at any time: a Connect, Accept or Read blocked on another thread then fails at once. A name
// look-up cannot be cut short; a Connect closed during one fails as soon as the look-up returns.
//
// Writing never blocks, unlike a plain blocking send: Write copies the bytes into a bounded queue that
// a writer thread of the connection hands to the system, so that a window thread that writes is never
// held up by the network, also not by a peer that stops reading. A peer that lets more than
// VySocketWriter::LIMIT bytes wait is disconnected: the Write that would overflow closes the socket and
// throws, and a Read blocked on another thread fails as it does for any close. Bytes still queued when
// the socket closes are dropped. Signals play no part: writing to a connection the peer has closed fails
// with an error, it never ends the process.
//
// A connection uses TCP keep-alive with short intervals and a user timeout, so that a peer that
// vanished without closing (a dropped link) is noticed within about a minute, idle or after a send;
// nothing changes in the bytes exchanged.
//
// Failures. Read and Write close the socket and throw VyException "*VySocket::Read : <text>" or
// "*VySocket::Write : <text>". The operations that return bool leave the reason in GetFailure,
// GetErrorText and GetErrorNumber. Texts are the system's (strerror, gai_strerror), and
// "Could not find host." for a name without address. An operation that needs a socket and finds none
// reports the assertion "m_nSocket>=0" to the trace and fails.
//
// Messages. Worker threads post framework messages to the socket; on the main thread it turns them into
// hooks: VY_MSG_SOCKET_DATA -> OnDataArrived, VY_MSG_SOCKET_CLOSED -> OnClosed, VY_MSG_SOCKET_FOREIGN ->
// OnForeignPeer, VY_MSG_SOCKET_VERSION -> OnWrongVersion; it ignores any other. OnConnected is called
// directly, on the thread that connected or accepted. Messages still pending for a socket are removed
// when it is destroyed.
class VySocket : public VyIO
{
public:
    VySocket() : VyIO(VY_IO_ANY) {}
    ~VySocket() override; // closes; waits for the writer thread

    // Closes, then makes a new socket (type SOCK_STREAM for TCP). False when the system refuses.
    bool Create(int family, int type, int protocol);
    // Binds to port (0: one the system picks) on address (host order: INADDR_ANY, INADDR_LOOPBACK, or
    // an IPv4 address, mapped on an IPv6 socket) of family. The IPv6 wildcard serves IPv4 too. False
    // with AddressInUse, PrivilegedPort or System.
    bool Bind(int port, int family, unsigned int address);
    bool ListenBacklog(int backlog);
    // Serves port on every address of the socket's family (both families on an IPv6 socket) with a
    // backlog of 5; a port that an earlier server has just left can be served again at once.
    bool Listen(int port);
    // Waits for a connection and hands it to target, which closes its earlier connection, starts its
    // writer thread and has OnConnected called on this thread. Passing network errors are waited
    // through. False with Closed when this socket was closed meanwhile, System otherwise.
    bool Accept(VySocket& target);
    // Connects to port of host: a name, an IPv4 or IPv6 address (not looked up), or empty for this
    // machine; each of its addresses in turn until one answers. The earlier connection is closed when
    // the first attempt begins. On success OnConnected runs on the calling thread. False with
    // HostNotFound, Closed (Close came meanwhile: nothing more is tried), or System with the last
    // attempt's refusal ("Connection refused").
    bool Connect(const VyString& host, int port);

    // The peer's address: a.b.c.d for IPv4 (also when served through IPv6), IPv6 text otherwise;
    // empty without a connection.
    VyString GetPeerAddress() const;
    // The port the socket is bound to; 0 without one.
    int GetLocalPort() const;
    // This machine's name; empty when the system cannot tell.
    static VyString GetHostName();
    // The first address name stands for, as text (a name, or an address given as text); empty when it
    // does not resolve. Blocks for as long as the look-up takes.
    static VyString LookupHost(const VyString& name);
    // The addresses another machine can reach this one by (see VySocketAddress::GetLocalAddresses).
    static std::vector<VyString> GetLocalAddresses();
    // The lowest port an ordinary user may serve (ip_unprivileged_port_start); 1024 when unreadable.
    static int GetUnprivilegedPortStart();

    // A socket is there and not closed (by Close, a failure, or a failed send of the writer).
    bool IsOpen() const;
    // Bytes written and not yet taken by the system (queued, or in a send); 0 without a connection.
    int GetUnsentBytes() const { return m_writer.GetUnsentBytes(); }
    // The descriptor, -1 when not open. For options and queries only: the socket owns it.
    int GetHandle() const;
    VySocketFailure GetFailure() const;
    VyString GetErrorText() const;
    // The errno value behind the last failure; 0 when there was none or a look-up failed.
    int GetErrorNumber() const;

    // Closes the connection or served port (idempotent, any thread); blocked calls fail at once.
    void Close() override;
    // Reads count bytes, waiting until all have arrived. Returns fewer (0 when none came) only when the
    // peer closed the connection; throws when the connection fails or is closed on this side, also while
    // it waits.
    int Read(void* buffer, int count) override;
    // Waits until at least one byte has arrived and returns up to count of what has: for a receive loop
    // that hands on whatever comes. 0 when the peer closed the connection; failures as for Read
    // ("*VySocket::ReadSome : <text>").
    int ReadSome(void* buffer, int count);
    // Queues count bytes for the writer thread and returns count at once. Throws after closing the
    // socket when the queue would overflow (Overflow, "No buffer space available"), or when the
    // connection is closed (the reason it was closed for, "Transport endpoint is not connected" when it
    // never was open).
    int Write(const void* buffer, int count) override;
    // A connection has no position and no end but its closing: these report the assertion "false" and do
    // nothing (GetPosition 0, IsEOF false).
    void SeekToBegin() override;
    void SeekToEnd() override;
    void Seek(int offset) override;
    void SetPosition(int position) override;
    int GetPosition() override;
    bool IsEOF() override;

    void HandleMessage(const VyMessage& msg) override;

protected:
    // Hooks; the base does nothing but where said.
    virtual void OnDataArrived() {}
    virtual void OnConnected() {}
    virtual void OnClosed() {}
    virtual void OnForeignPeer(); // Close()
    virtual void OnWrongVersion(); // Close()

    // Record the outcome of an operation and return true / false.
    bool Succeed();
    bool Fail(VySocketFailure failure, int errorNumber);

private:
    std::shared_ptr<VySocketHandle> GetCurrentHandle() const;
    static VySocketHandle::Use AcquireOrReport(VySocketHandle* pHandle);
    unsigned int GetGeneration() const;
    bool Install(const std::shared_ptr<VySocketHandle>& pHandle, unsigned int generation);
    int ConnectTo(const VySocketAddress& address, unsigned int generation);
    int StartConnection(const std::shared_ptr<VySocketHandle>& pHandle);
    int TakeConnection(int descriptor, int family);
    bool HandOver(VySocket& target, int descriptor, int family);
    bool FailText(VySocketFailure failure, const VyString& text);
    int ReceiveOnce(const char* method, const VySocketHandle::Use& use, const VySocketHandle& handle, char* bytes,
                    int count);
    void CloseFor(int reason);
    [[noreturn]] void Throw(const char* method, VySocketFailure failure, int errorNumber);
    [[noreturn]] void ThrowClosed(const char* method, const VySocketHandle* pHandle);

    mutable std::mutex m_lock; // guards the members below it, not the writer
    std::shared_ptr<VySocketHandle> m_pHandle;
    unsigned int m_generation = 0; // counts closings: a Connect begun before one gives up
    VySocketFailure m_failure = VySocketFailure::None;
    VyString m_errorText;
    int m_errorNumber = 0;
    VySocketWriter m_writer;
};
