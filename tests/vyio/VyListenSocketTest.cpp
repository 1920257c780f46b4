#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "VyOrdinaryUser.h"
#include "vyio/VyListenSocket.h"
#include "vyio/VySocketTestPeer.h"

TEST(VyListenSocket, ServesBothFamiliesAndShowsIPv4PeersPlainly)
{
    VyListenSocket server;
    VyRecordingSocket connection;
    ASSERT_TRUE(server.StartServer(0, &connection)) << server.GetErrorText();
    const int port = server.GetLocalPort();
    ASSERT_GT(port, 0);

    VySocket client;
    ASSERT_TRUE(client.Connect("127.0.0.1", port)) << client.GetErrorText();
    ASSERT_TRUE(server.WaitAcceptEnded(30000));
    EXPECT_EQ(connection.connected, 1);
    EXPECT_NE(connection.connectedOn, std::this_thread::get_id());
    EXPECT_EQ(connection.GetPeerAddress(), "127.0.0.1");
    EXPECT_TRUE(VyNoticesVanishedPeerWithinAMinute(connection.GetHandle()));
    EXPECT_TRUE(VyNoticesVanishedPeerWithinAMinute(client.GetHandle()));
    client << VyString("Ann") << 7;
    VyString name;
    int value = 0;
    connection >> name >> value;
    EXPECT_EQ(name, "Ann");
    EXPECT_EQ(value, 7);

    // The same port again at once, while the first connection still uses it; now over IPv6.
    ASSERT_TRUE(server.StartServer(port, &connection)) << server.GetErrorText();
    VySocket client6;
    ASSERT_TRUE(client6.Connect("::1", port)) << client6.GetErrorText();
    ASSERT_TRUE(server.WaitAcceptEnded(30000));
    EXPECT_EQ(connection.connected, 2);
    EXPECT_EQ(connection.GetPeerAddress(), "::1");
    EXPECT_EQ(client.Read(&value, 4), 0); // the connection it replaced was closed
}

TEST(VyListenSocket, LaterConnectionsAreTurnedAwayUntilThePortCloses)
{
    VyListenSocket server;
    VyRecordingSocket connection;
    ASSERT_TRUE(server.StartServer(0, &connection, VyLaterConnections::TURNED_AWAY)) << server.GetErrorText();
    const int port = server.GetLocalPort();
    VySocket first;
    ASSERT_TRUE(first.Connect("127.0.0.1", port)) << first.GetErrorText();
    int value = 0;
    for (int i = 0; i < 2; ++i)
    {
        VySocket later;
        ASSERT_TRUE(later.Connect("127.0.0.1", port)) << later.GetErrorText();
        later << 5;
        EXPECT_EQ(later.Read(&value, 4), 0) << "closed at once";
    }
    EXPECT_EQ(server.GetTurnedAway(), 2);
    EXPECT_EQ(connection.connected, 1);
    first << 7;
    connection >> value;
    EXPECT_EQ(value, 7) << "the one connection goes on";
    EXPECT_FALSE(server.WaitAcceptEnded(0));

    server.Close();
    ASSERT_TRUE(server.WaitAcceptEnded(30000));
    VySocket afterwards;
    EXPECT_FALSE(afterwards.Connect("127.0.0.1", port));
    EXPECT_TRUE(connection.IsOpen());
}

TEST(VyListenSocket, CloseFromAnotherThreadEndsAWaitingAccept)
{
    VyListenSocket server;
    VyRecordingSocket connection;
    ASSERT_TRUE(server.StartServer(0, &connection));
    EXPECT_FALSE(server.WaitAcceptEnded(0));
    VyWaitForThreadIn({SYS_accept4, SYS_accept});
    server.Close();
    ASSERT_TRUE(server.WaitAcceptEnded(30000));
    EXPECT_EQ(server.GetFailure(), VySocketFailure::Closed);
    EXPECT_EQ(connection.connected, 0);
    EXPECT_FALSE(connection.IsOpen());
}

TEST(VyListenSocket, ServingATakenPortGivesTheSystemsText)
{
    VyListenSocket first;
    VySocket connection;
    ASSERT_TRUE(first.StartServer(0, &connection));
    VyListenSocket second;
    EXPECT_FALSE(second.StartServer(first.GetLocalPort(), &connection));
    EXPECT_EQ(second.GetFailure(), VySocketFailure::AddressInUse);
    EXPECT_EQ(second.GetErrorText(), std::strerror(EADDRINUSE));

    // A server of IPv4 alone takes the port from one that would serve both families.
    int port = 0;
    const VyRawFd ipv4Only = VyRawListen(AF_INET, 5, port);
    EXPECT_FALSE(second.StartServer(port, &connection));
    EXPECT_EQ(second.GetErrorText(), std::strerror(EADDRINUSE));
    EXPECT_TRUE(second.WaitAcceptEnded(0));
}

TEST(VyListenSocket, APrivilegedPortIsToldApartForAnOrdinaryUser)
{
    int start = 1024;
    std::ifstream("/proc/sys/net/ipv4/ip_unprivileged_port_start") >> start;
    EXPECT_EQ(VySocket::GetUnprivilegedPortStart(), start);
    if (start <= 1)
        GTEST_SKIP() << "every port may be served by anybody here";
    int takenPort = 0;
    const VyRawFd taken = VyRawListen(AF_INET, 5, takenPort);
    const int status = VyOrdinaryUser::Run([&] {
        VyListenSocket server;
        VySocket connection;
        if (server.StartServer(start - 1, &connection))
            return 1;
        if (server.GetFailure() != VySocketFailure::PrivilegedPort || server.GetErrorText() != strerror(EACCES))
            return 2;
        server.StartServer(takenPort, &connection);
        return server.GetFailure() == VySocketFailure::AddressInUse ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
}
