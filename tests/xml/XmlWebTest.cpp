// Loading a document from a URL, served from 127.0.0.1 inside the test.

#include "xml/XmlDocument.h"

#include "tests/support/LocalHttpServer.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace xml;
using testsupport::LocalHttpServer;
using testsupport::THttpResponse;

namespace {

struct Listening {
    TXmlDocument doc{nullptr, false, false, true, "puvodni"};
    std::vector<std::string> failures;
    Listening()
    {
        doc.OnDebugMessage = [this](core::TObject*, TxDebugLevel level, const std::string& message) {
            if (level == dlFail)
                failures.push_back(message);
        };
    }
};

const std::string kBody =
    "<?xml version=\"1.0\" encoding=\"windows-1250\"?>\r\n<d:root><d:id>\x9Elu\x9D</d:id></d:root>";

} // namespace

TEST(XmlWeb, DocumentIsFetchedAndLoaded)
{
    LocalHttpServer server;
    THttpResponse response;
    response.ContentType = "text/xml";
    response.Body = kBody;
    server.Serve("/konverze.xml", response);

    Listening l;
    EXPECT_EQ(l.doc.LoadFromWeb(server.Url("/konverze.xml")), static_cast<std::int64_t>(kBody.size()));
    EXPECT_TRUE(l.failures.empty());
    ASSERT_NE(l.doc.RootElement(), nullptr);
    EXPECT_EQ(l.doc.RootElement()->SearchNode("d:id")->GetValue(), "žluť");
    EXPECT_EQ(l.doc.TextCodePage(), 1250);
    ASSERT_EQ(server.Requests().size(), 1u);
    EXPECT_EQ(server.Requests()[0].Method, "GET");
}

TEST(XmlWeb, UnreachableOrMissingDocumentLeavesTheContent)
{
    LocalHttpServer server;
    const std::string missing = server.Url("/chybi.xml");
    const std::string refused = "http://127.0.0.1:1/konverze.xml";
    for (const std::string& url : {missing, refused, std::string("nic tu neni")}) {
        Listening l;
        EXPECT_EQ(l.doc.LoadFromWeb(url), 0) << url;
        EXPECT_EQ(l.failures, (std::vector<std::string>{"Cannot open URL " + url}));
        ASSERT_EQ(l.doc.TopNodeCount(), 1);
        EXPECT_EQ(l.doc.RootElement()->GetName(), "puvodni") << "the previous content stays";
    }
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
